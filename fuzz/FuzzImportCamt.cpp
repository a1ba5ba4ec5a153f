// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a camt.053 file.
#include "CamtReader.h"
#include "FuzzStatements.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzStatementReader(
        data, size, [](const std::string& bytes) { return CamtReader::Read(bytes); }, false);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzInitialize();
    return 0;
}
