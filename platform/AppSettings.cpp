#include "AppSettings.h"

#include <atomic>

#include "SettingsStore.h"

namespace AppSettings {
namespace {

std::atomic<SettingsStore*> g_store{nullptr};

}  // namespace

SettingsStore* store() {
    return g_store.load();
}

void publish(SettingsStore* settings) {
    g_store.store(settings);
}

int32_t GetInt(const std::u16string& key, int32_t def) {
    SettingsStore* settings = store();
    return settings != nullptr ? settings->GetInt(key, def) : def;
}

void SetInt(const std::u16string& key, int32_t value) {
    if (SettingsStore* settings = store()) {
        settings->SetInt(key, value);
    }
}

}  // namespace AppSettings
