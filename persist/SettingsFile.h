// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include "persist/IniDocument.h"

#include <mutex>
#include <optional>
#include <string>

// Value-by-value access to an INI file. Outside a batch there is no cache: every Read reads the
// file, and every Write that changes a value replaces the whole file at once, so the file is
// never half written.
class SettingsFile {
public:
    SettingsFile() = default;
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // value is the value cut to 399 bytes, "" when it or the file is absent; true when not empty.
    bool Read(const std::string& section, const std::string& key, std::string& value);
    // With keepComment 1 (no other value), a remark the old value holds from its first ';' on is
    // carried over behind the new value, after two blanks. True when the file now holds the
    // value; a value that would not read back the same, such as one with a line break, is refused.
    bool Write(const std::string& section, const std::string& key, const std::string& value, int keepComment);
    // Reads the file once; until CommitBatch, Reads see that copy and Writes change it. So a set
    // of Reads sees one version of the file, and a set of Writes reaches it all at once or not at
    // all. False when the file cannot be read: there is then no batch, and the error line says
    // failure before the reason.
    bool BeginBatch(const char* failure = "cannot be read");
    // Ends the batch, replacing the file once if a Write of the batch changed a value. True when
    // there was no batch.
    bool CommitBatch();
    // Removes temporary files left beside the file by a save that was killed half-way.
    void RemoveStaleTemporaries();
    // After a failed operation: one line naming the file and the reason. Empty otherwise.
    std::string GetLastError() const;

    // "Setting.ini" in the working directory; empty when the working directory cannot be read.
    static std::string GetSettingsPath();
    // The working directory ending in '/'; empty when it cannot be read.
    static std::string GetCurrentDir();

    std::string path;

private:
    enum class Loaded { Yes, Missing, Failed };
    Loaded LoadText(std::string& text, const char* doing);
    bool Store(const IniDocument& document);

    // Held for each whole public operation; none calls another, so the lock need not re-enter.
    mutable std::mutex lock;
    std::string lastError;
    std::optional<IniDocument> batch;
    bool batchChanged = false;
};
