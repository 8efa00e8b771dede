// The settings record: the program's options in one fixed 128-byte record in "tabbern.cfg".
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabbern {

struct App;

inline constexpr std::size_t kSettingsRecordSize = 128;

struct SettingsRecord {
    std::int16_t reserved = 0;
    std::string title;   // 35 characters on disk
    std::string version; // 5 characters on disk
    std::int16_t loadMinimised = 0;
    std::string reservedText; // 70 characters on disk, always blank
    std::int16_t rememberLocation = 0;
    std::int32_t top = 0;
    std::int32_t left = 0;
    std::int16_t sortChoice = 0;
    std::int16_t rememberSort = 0;
};

// The record's 128 bytes: little-endian integers, texts in the code page padded with blanks.
std::array<unsigned char, kSettingsRecordSize> EncodeSettingsRecord(const SettingsRecord& r);
// Reads a record from the start of the bytes; a shorter input reads as zeros beyond its end.
// Texts come back as stored, padding included.
SettingsRecord DecodeSettingsRecord(std::string_view bytes);

void ReadSettings(App& app);
void WriteSettings(App& app);
// Stores the main window's position (on) or clears it (off), then writes the record.
void SaveScreenLocation(App& app, bool on);

// Rounds to the nearest whole number, halves to the even one.
std::int32_t RoundHalfEven(double v);

} // namespace tabbern
