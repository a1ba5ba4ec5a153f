#pragma once

#include <stdexcept>
#include <string>

namespace sqlite3x {

class connection;

// Every failure of the access layer; the text is fixed or comes from SQLite.
class database_error : public std::runtime_error {
public:
    explicit database_error(const char* message);
    explicit database_error(const std::string& message);
    // Takes the connection's current SQLite error message.
    explicit database_error(const connection& con);
};

}  // namespace sqlite3x
