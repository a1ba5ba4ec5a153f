// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Plain text scanners for the bank's pages. Positions are byte offsets; every search is exact and
// case-sensitive unless it runs on a lower-case copy. No scanner reads outside its text: a marker
// that would run past the end is simply not found.

#include <cstdint>
#include <string>
#include <vector>

#include "FormFields.h"

// Adds the <input> fields of the first form named `formName` to `fields` (existing names
// overwritten).
void ReadForm(FormFields& fields, const std::string& formName, const std::string& page);

// Splits the argument list of the onclick call of the <a>/<b...> tag nearest before `key`.
bool ReadOnclickArguments(const std::string& text, const std::string& key,
                          std::vector<std::string>& arguments);

// Cuts the text between two markers; returns the end marker's position or 0 when not found.
size_t ExtractBetween(const std::string& text, const std::string& start, const std::string& end,
                      std::string& destination, size_t from);

void CollapseSpaces(std::string& text);

// "dd-mm-yyyy" to seconds since 1970 UTC of 12:00 local time that day.
int64_t ParseDayDate(const std::string& text);

// Repairs the six Polish letters that differ between ISO-8859-2 and Windows-1250.
void Latin2ToCp1250(std::string& text);

// Helpers shared by the readers of list and details pages.
void RemoveAll(std::string& text, const std::string& what);
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);
bool Contains(const std::string& text, const char* what);
