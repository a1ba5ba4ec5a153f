// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as an OFX file (1.x or 2.x).
#include "FuzzStatements.h"
#include "OfxReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzStatementReader(
        data, size, [](const std::string& bytes) { return OfxReader::Read(bytes); }, false);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzInitialize();
    return 0;
}
