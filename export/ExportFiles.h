#pragma once
// What an export writes, whatever asked for it (the export window or the command line): the
// files of the chosen format for a set of rows, and writing them all or none.

#include "StoredOperation.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

enum class ExportFormat { Xml, Ofx, Csv };

struct ExportFile {
    std::filesystem::path path;
    std::string bytes;
};

class ExportFiles {
public:
    enum class Failure { None, Open, Write };
    struct Outcome {
        Failure failure = Failure::None;
        std::filesystem::path path;  // the file that failed
    };

    // "xml", "ofx", "csv".
    static const char* Suffix(ExportFormat format);
    // "XML", "OFX", "CSV".
    static const char* Name(ExportFormat format);
    // From the file's extension in any letter case; empty for any other extension.
    static std::optional<ExportFormat> FormatOf(const std::filesystem::path& path);

    // One file for XML and CSV. OFX holds one account per file: when the rows span several
    // accounts, each file's name gets its account's last four digits before the extension.
    // Without rows, OFX writes the empty statement of `emptyAccount`, or no file at all when
    // that is empty. `now` is the moment of the export.
    static std::vector<ExportFile> Build(ExportFormat format, const std::filesystem::path& target,
                                         const std::vector<StoredOperation>& ops, int64_t now,
                                         const std::u16string& emptyAccount = {});

    // All or none: every file is first written and flushed under a temporary name beside its
    // target; only then are they renamed over their targets. On failure no target has changed
    // and no temporary file is left. A new file gets the mode a newly created file would get;
    // a replaced file keeps its own.
    static Outcome Write(const std::vector<ExportFile>& files);
};
