#pragma once

#include <cstdint>
#include <string>

class SettingsStore;

// The process-wide settings store: published by the application object for the program's
// lifetime, null before and after. Readers fall back to their defaults while it is null.
namespace AppSettings {

SettingsStore* store();
void publish(SettingsStore* store);

int32_t GetInt(const std::u16string& key, int32_t def);
void SetInt(const std::u16string& key, int32_t value);

}  // namespace AppSettings
