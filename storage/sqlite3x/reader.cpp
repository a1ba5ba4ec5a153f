#include "reader.h"

#include <sqlite3.h>

#include <stdexcept>

#include "command.h"
#include "connection.h"
#include "database_error.h"

namespace sqlite3x {

reader::reader(command& cmd) : m_cmd(&cmd) {
    m_cmd->readerOpened();
}

reader::~reader() {
    close();
}

reader::reader(reader&& other) noexcept : m_cmd(other.m_cmd) {
    other.m_cmd = nullptr;
}

reader& reader::operator=(reader&& other) noexcept {
    if (this != &other) {
        close();
        m_cmd = other.m_cmd;
        other.m_cmd = nullptr;
    }
    return *this;
}

command& reader::open() const {
    if (!m_cmd) {
        throw database_error("reader is closed");
    }
    return *m_cmd;
}

void reader::checkIndex(int index) const {
    if (index > open().m_columns - 1) {
        throw std::out_of_range("index out of range");
    }
}

bool reader::read() {
    command& cmd = open();
    switch (sqlite3_step(cmd.m_stmt)) {
        case SQLITE_ROW:
            return true;
        case SQLITE_DONE:
            return false;
        default:
            throw database_error(cmd.m_con);
    }
}

int32_t reader::column_count() {
    return sqlite3_column_count(open().m_stmt);
}

std::u16string reader::column_name(int index) {
    checkIndex(index);
    const auto* name = static_cast<const char16_t*>(sqlite3_column_name16(open().m_stmt, index));
    return name ? std::u16string(name) : std::u16string();
}

int32_t reader::get_int(int index) {
    checkIndex(index);
    return sqlite3_column_int(open().m_stmt, index);
}

int64_t reader::get_int64(int index) {
    checkIndex(index);
    return sqlite3_column_int64(open().m_stmt, index);
}

double reader::get_double(int index) {
    checkIndex(index);
    return sqlite3_column_double(open().m_stmt, index);
}

std::u16string reader::get_string(int index) {
    return std::u16string(get_view(index));
}

std::u16string_view reader::get_view(int index) {
    checkIndex(index);
    sqlite3_stmt* stmt = open().m_stmt;
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(stmt, index));
    const int bytes = sqlite3_column_bytes16(stmt, index);
    if (!text) {
        return {};
    }
    return {text, static_cast<size_t>(bytes) / 2};
}

int reader::indexOf(const std::u16string& name) {
    for (int i = 0; i < column_count(); ++i) {
        if (column_name(i) == name) {
            return i;
        }
    }
    throw database_error("no such column");
}

int32_t reader::get_int(const std::u16string& name) {
    return get_int(indexOf(name));
}

int64_t reader::get_int64(const std::u16string& name) {
    return get_int64(indexOf(name));
}

double reader::get_double(const std::u16string& name) {
    return get_double(indexOf(name));
}

std::u16string reader::get_string(const std::u16string& name) {
    return get_string(indexOf(name));
}

void reader::close() {
    if (m_cmd) {
        command* cmd = m_cmd;
        m_cmd = nullptr;
        cmd->readerClosed();
    }
}

}  // namespace sqlite3x
