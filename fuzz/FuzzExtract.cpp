// SPDX-License-Identifier: GPL-3.0-or-later
// The cutting and cleaning helpers on any text: ExtractBetween returns a cut that really stands
// between the markers, CollapseSpaces leaves no line ends, tabs, hard spaces or outer blanks,
// and ParseDayDate gives noon of the day it was given.
#include <cstdint>
#include <ctime>
#include <string>

#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "HtmlScanner.h"

namespace {

void checkExtract(const std::string& text, const std::string& start, const std::string& end,
                  size_t from) {
    std::string destination = "untouched";
    const size_t e = ExtractBetween(text, start, end, destination, from);
    if (e == 0) {
        // 0 is also the position of an end marker found at the very start, which only an empty
        // start marker allows (no caller passes one).
        FUZZ_CHECK(destination == "untouched" || (start.empty() && destination.empty()),
                   "a failed cut leaves the destination");
        return;
    }
    FUZZ_CHECK(e <= text.size() && text.compare(e, end.size(), end) == 0, "end marker at e");
    FUZZ_CHECK(e >= destination.size() + start.size(), "cut lies before the end marker");
    const size_t b = e - destination.size() - start.size();
    FUZZ_CHECK(b >= from, "start marker at or after from");
    FUZZ_CHECK(text.compare(b, start.size(), start) == 0, "start marker before the cut");
    FUZZ_CHECK(text.find(start, from) == b, "the first start marker counts");
}

void checkCollapse(std::string text) {
    const size_t before = text.size();
    CollapseSpaces(text);
    FUZZ_CHECK(text.size() <= before, "collapsing never grows the text");
    for (char c : text) {
        FUZZ_CHECK(c != '\r' && c != '\n' && c != '\t' && static_cast<unsigned char>(c) != 0xA0,
                   "no line ends, tabs or hard spaces stay");
    }
    FUZZ_CHECK(text.empty() || (text.front() != ' ' && text.back() != ' '), "trimmed");
}

// A well-formed date built from the input's bytes reads back as noon of that day.
void checkDate(const std::string& seed) {
    if (seed.size() < 4) {
        return;
    }
    const int day = 1 + static_cast<unsigned char>(seed[0]) % 28;
    const int month = 1 + static_cast<unsigned char>(seed[1]) % 12;
    const int year =
        1971 +
        (static_cast<unsigned char>(seed[2]) * 256 + static_cast<unsigned char>(seed[3])) % 8000;
    char text[16];
    std::snprintf(text, sizeof text, "%02d-%02d-%04d", day, month, year);
    const int64_t seconds = ParseDayDate(text);
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    FUZZ_CHECK(localtime_r(&t, &local) != nullptr, "a date converts back");
    FUZZ_CHECK(local.tm_mday == day && local.tm_mon + 1 == month && local.tm_year + 1900 == year,
               "the same calendar day");
    FUZZ_CHECK(local.tm_hour == 12 && local.tm_min == 0, "noon local time");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto pieces = SplitInput(data, size, 3);
    const std::string& start = pieces[0];
    const std::string& end = pieces[1];
    const std::string& text = pieces[2];
    checkExtract(text, start, end, 0);
    checkExtract(text, start, end, start.size() % (text.size() + 2));
    checkCollapse(text);
    checkCollapse(start);
    (void)ParseDayDate(text);
    (void)ParseDayDate(start);
    checkDate(start);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "Europe/Warsaw", 0);
    tzset();
    return 0;
}
