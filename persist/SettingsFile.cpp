// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "persist/SettingsFile.h"

#include "persist/IniDocument.h"
#include "persist/TextFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace {

constexpr const char* FileName = "Setting.ini";

// How messages name the file: its path, or its bare name when the path could not be made.
std::string Shown(const std::string& path)
{
    return TextFile::Printable(path.empty() ? std::string(FileName) : path);
}

} // namespace

bool SettingsFile::Read(const std::string& section, const std::string& key, std::string& value)
{
    std::lock_guard<std::mutex> guard(lock);
    lastError.clear();
    value.clear();
    if (batch)
        return batch->Read(section, key, value);
    std::string text;
    if (LoadText(text, "cannot be read") != Loaded::Yes)
        return false;
    return IniDocument(std::move(text)).Read(section, key, value);
}

bool SettingsFile::Write(const std::string& section, const std::string& key, const std::string& value,
                         int keepComment)
{
    std::lock_guard<std::mutex> guard(lock);
    lastError.clear();
    std::optional<IniDocument> own;
    if (!batch) {
        std::string text;
        if (LoadText(text, "not saved") == Loaded::Failed)
            return false;
        own.emplace(std::move(text));
    }
    IniDocument& document = batch ? *batch : *own;

    std::string written = value;
    if (keepComment == 1) {
        // The whole old value, not the 399 bytes a Read hands out: a long remark is kept whole.
        const std::optional<std::string> old = document.Find(section, key);
        const std::size_t remark = old ? old->find(';') : std::string::npos;
        if (remark != std::string::npos)
            written.append("  ").append(*old, remark);
    }
    const auto fail = [&](const std::string& reason) {
        lastError = Shown(path) + ": not saved: " + TextFile::Printable(reason);
        return false;
    };
    const std::string unwritable = IniDocument::Unwritable(section, key, written);
    if (!unwritable.empty())
        return fail("[" + section + "] " + key + ": " + unwritable);
    if (document.Write(section, key, written) == IniDocument::Change::Unchanged)
        return true;
    if (batch) {
        batchChanged = true;
        return true;
    }
    return Store(document);
}

bool SettingsFile::BeginBatch(const char* failure)
{
    std::lock_guard<std::mutex> guard(lock);
    lastError.clear();
    batch.reset();
    batchChanged = false;
    std::string text;
    if (LoadText(text, failure) == Loaded::Failed)
        return false;
    batch.emplace(std::move(text));
    return true;
}

bool SettingsFile::CommitBatch()
{
    std::lock_guard<std::mutex> guard(lock);
    lastError.clear();
    if (!batch)
        return true;
    const IniDocument document = std::move(*batch);
    batch.reset();
    const bool changed = std::exchange(batchChanged, false);
    return !changed || Store(document);
}

bool SettingsFile::Store(const IniDocument& document)
{
    std::string reason;
    if (TextFile::Replace(path, document.Text(), reason))
        return true;
    lastError = Shown(path) + ": not saved: " + TextFile::Printable(reason);
    return false;
}

void SettingsFile::RemoveStaleTemporaries()
{
    std::lock_guard<std::mutex> guard(lock);
    if (!path.empty())
        TextFile::RemoveStaleTemporaries(path);
}

std::string SettingsFile::GetLastError() const
{
    std::lock_guard<std::mutex> guard(lock);
    return lastError;
}

SettingsFile::Loaded SettingsFile::LoadText(std::string& text, const char* doing)
{
    std::string reason;
    TextFile::LoadResult result = TextFile::LoadResult::Failed;
    if (path.empty())
        reason = "the working directory could not be read";
    else
        result = TextFile::Load(path, text, reason);
    if (result == TextFile::LoadResult::Loaded)
        return Loaded::Yes;
    if (result == TextFile::LoadResult::Missing)
        return Loaded::Missing;
    lastError = Shown(path) + ": " + doing + ": " + TextFile::Printable(reason);
    return Loaded::Failed;
}

std::string SettingsFile::GetSettingsPath()
{
    const std::string dir = GetCurrentDir();
    return dir.empty() ? std::string() : dir + FileName;
}

std::string SettingsFile::GetCurrentDir()
{
    std::string dir(256, '\0');
    while (!::getcwd(dir.data(), dir.size())) {
        if (errno != ERANGE)
            return {};
        dir.resize(dir.size() * 2);
    }
    dir.resize(std::strlen(dir.c_str()));
    // Linux may name a directory outside the process's root "(unreachable)/...".
    if (dir.empty() || dir.front() != '/')
        return {};
    if (dir.back() != '/')
        dir += '/';
    return dir;
}
