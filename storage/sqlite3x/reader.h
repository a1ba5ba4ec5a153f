#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sqlite3x {

class command;

// Steps through the rows of a command. Must not outlive its command.
class reader {
public:
    explicit reader(command& cmd);
    ~reader();
    reader(reader&& other) noexcept;
    reader& operator=(reader&& other) noexcept;
    reader(const reader&) = delete;
    reader& operator=(const reader&) = delete;

    bool read();
    int32_t column_count();
    std::u16string column_name(int index);

    int32_t get_int(int index);
    int64_t get_int64(int index);
    double get_double(int index);
    std::u16string get_string(int index);
    // The text of a column without a copy, valid until the next read() or close().
    std::u16string_view get_view(int index);

    int32_t get_int(const std::u16string& name);
    int64_t get_int64(const std::u16string& name);
    double get_double(const std::u16string& name);
    std::u16string get_string(const std::u16string& name);

    void close();

private:
    command& open() const;
    void checkIndex(int index) const;
    int indexOf(const std::u16string& name);

    command* m_cmd = nullptr;
};

}  // namespace sqlite3x
