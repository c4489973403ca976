// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// An INI text held as its exact bytes. Lookups follow the private-profile rules hand-edited
// settings files rely on; a change rewrites the value of one line or adds lines, and every other
// byte, line endings and a UTF-8 byte-order mark included, stays as it was.
// Every operation is linear in the size of the text.
class IniDocument {
public:
    // The profile reader hands out at most this many bytes of a value.
    static constexpr std::size_t MaxValueLength = 399;

    enum class Change { Refused, Unchanged, Changed };

    IniDocument() = default;
    explicit IniDocument(std::string bytes);

    const std::string& Text() const { return text; }

    // The whole value of the first such key in the first such section; nullopt when absent.
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // As the profile reader: the value cut to MaxValueLength bytes (never inside a UTF-8
    // character), "" when absent; true exactly when the value handed out is not empty.
    bool Read(std::string_view section, std::string_view key, std::string& value) const;
    // Refused when Unwritable; Unchanged when the key already reads as value.
    Change Write(std::string_view section, std::string_view key, std::string_view value);

    // Why the three cannot be stored so that they read back the same; empty when they can.
    static std::string Unwritable(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string text;
};
