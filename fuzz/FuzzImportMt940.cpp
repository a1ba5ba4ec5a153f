// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an MT940 file.
#include "FuzzStatements.h"
#include "Mt940Reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzStatementReader(
        data, size, [](const std::string& bytes) { return Mt940Reader::Read(bytes); }, false);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzInitialize();
    return 0;
}
