// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file that cannot be imported; what() is one Polish sentence (UTF-8) naming the line or the
// element at fault.

#include <stdexcept>
#include <string>

class ImportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
