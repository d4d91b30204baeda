#pragma once

#include <span>
#include <string>
#include <string_view>

#include "formats/native_file.h"
#include "formats/text_file.h"

namespace zentorix {

// For which kinds of file the reader applies a key.
enum class ReadWhen { All, NotMini, IniOnly, Never };

// What the reader of a key line works on.
struct NativeReadState {
    World& world;
    Settings& settings;
    NativeKind kind = NativeKind::Zlf;
    bool languageRead = false;
};

// One key of the configuration file: its text as written, when it is read, the
// value the writer puts after it and what reading a line that holds it does.
struct NativeKey {
    std::string_view written;
    ReadWhen when;
    std::string (*value)(const World&, const Settings&);
    void (*apply)(NativeReadState&, std::string_view line);

    // Keys written with a colon are found by their name without it.
    std::string_view ReadName() const {
        return written.ends_with(':') ? written.substr(0, written.size() - 1) : written;
    }
};

// The keys by the part of the file they are written in, in the order written.
enum class KeyGroup {
    InterfaceSize,  // "[Interface]" in every kind
    InterfaceIni,   // the rest of "[Interface]", ini files only
    Land,
    Museum,
    Rules,
    Color,
    Statistic,
    Option,
    EternalLife,   // the keys of "[Eternal Life Field]"
    EternalDead,   // the keys of "[Eternal Dead Field]"
    OtherReality,  // the keys of "[Other Reality Field]"
    ReadOnly,      // recognised when read, never written
};
inline constexpr int kKeyGroupCount = 12;

std::span<const NativeKey> NativeKeys(KeyGroup group);
// The key written as the text; nullptr for an unknown key.
const NativeKey* FindNativeKey(std::string_view written);

bool ReadAllowed(ReadWhen when, NativeKind kind);

// Writes the key line of the key from the current state.
void WriteKey(TextBuilder& out, const NativeKey& key, const World& world, const Settings& settings);

// Applies every key of every group that occurs in the line and that the kind
// allows. A malformed number raises FormatError.
void ApplyKeyLine(NativeReadState& state, std::string_view line);

}  // namespace zentorix
