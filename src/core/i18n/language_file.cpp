#include "i18n/language_file.h"

#include <algorithm>
#include <system_error>

#include "engine/format_error.h"
#include "formats/text_file.h"

namespace zentorix {

// clang-format off
const std::array<std::string_view, 178> kComponentKeys = {
    "File1", "Open1", "Save0", "Save1", "Exit1", "Edit32",
    "Refresh2", "Paint1", "Select2", "Clear1", "ClearAll1", "Process1",
    "Start2", "Step1", "Stop1", "Options1", "Grid1", "Language1",
    "ToolPanel1", "PanelOff1", "PanelLeft1", "PanelRigth1", "Tools1", "Palettorcolorpalette1",
    "Help1", "Contents1", "About1", "BlackColorAll", "SilverColorAll", "BGColorAll",
    "AnyColorAll", "BlackColorOther", "SilverColorOther", "BGColorOther", "AnyColorOther", "Return21",
    "Start1", "Stop2", "Step2", "PopupMenuPaint", "PopupMenuSelect", "SaveSelection1",
    "Refresh1", "FillRandomSelection2", "Fillsolidselection1", "Erase1", "Clear2", "Turn90Clock",
    "Turn90AClock", "Turn180", "FlipHorizontall1", "FlipVertical1", "Label8", "Label70",
    "SaveColorCheckBox", "SaveColorPCheckBox", "SaveBirthCheckBox", "SaveDeathCheckBox", "SaveReal2CheckBox", "SaveLandCheckBox",
    "SaveStatCheckBox", "SaveOptionCheckBox", "SaveMuseumCheckBox", "SaveRulesCheckBox", "Cansel01", "SaveButton1",
    "Label71", "Label73", "Label72", "Label75", "Cansel02", "SaveButton2",
    "ChangeLanguage1", "Cansel03", "Cansel6", "Label50", "Label62", "Label63",
    "Cansel04", "Label53", "Label54", "Label55", "Cansel05", "TabSheet2",
    "Label39", "Label18", "Label5", "Label6", "Label4", "Label67",
    "Label7", "Label64", "ShowBirthCells", "ShowDeadCells", "Label35", "ColorOn",
    "Label31", "Label104", "TabSheet4", "Label41", "Label40", "StatButton1",
    "Label1", "Label14", "Label17", "Label44", "Label60", "Label61",
    "Label11", "RecordStatisticButton", "StatButton2", "AutoStartRecordPanel", "TabSheet6", "SaveMuseumButton",
    "Label68", "Label52", "Label51", "ClearForLoad", "StopForLoad", "TabSheet3",
    "Label2", "Label74", "SymmetricRegion", "Label15", "ExtRegion", "HistoryOn",
    "Label59", "Landscape", "LandControl", "Label65", "EternalLifeOn", "Label78",
    "EternalDeadOn", "Label83", "OtherRealityOn", "FeedBack", "Synchronization", "LandEdit",
    "Label82", "MainLifePaint", "EternalLifePaint", "EternalDeadPaint", "OtherRealPaint", "Label49",
    "MainLifeRefresh", "EternalLifeRefresh", "EternalDeadRefresh", "OtherRealRefresh", "Label66", "MainLifeErase",
    "EternalLifeErase", "EternalDeadErase", "OtherRealErase", "Label3", "Label30", "Label38",
    "CopyFieldButton", "Label96", "MainFillRandom", "EtenalLifeFillRandom", "EtenalDeadFillRandom", "OtherRealFillRandom",
    "Label97", "Label98", "FillRandomButton", "MainOptions", "Label16", "TransparentMode",
    "Label76", "Label12", "Label56", "Label19", "ShowHints", "AutoStop",
    "Label84", "PhotoButton9", "SaveFieldWhenExit", "ExitButton"};
// clang-format on

LanguageTexts DefaultLanguageTexts() {
    LanguageTexts t;
    t.MainStr = {"СТАРТ", "СТОП"};
    t.LandStr = {"5", " покоління", " поколінь", "Через ", "На "};
    // ColorMode keeps its built-in captions when a file does not name them.
    t.ColorStr[1] = "Колір за віком";
    t.ColorStr[2] = "Колір за народженням";
    t.DiagStr[1] = "Файл із таким іменем вже існує. Перезаписати?";
    return t;
}

namespace {

// The text between the first colon and the first semicolon; empty without a
// semicolon or with the semicolon first.
std::string KeyValue(std::string_view line) {
    const std::size_t colon = line.find(':');
    const std::size_t semicolon = line.find(';');
    if (colon == std::string_view::npos || semicolon == std::string_view::npos || semicolon < colon)
        return {};
    return std::string(line.substr(colon + 1, semicolon - colon - 1));
}

bool IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Sets texts[index] when the index is inside the family; other lines change nothing.
template <std::size_t N>
void SetFamilyText(std::array<std::string, N>& family, int index, int first, std::string value) {
    if (index >= first && index < static_cast<int>(N))
        family[static_cast<std::size_t>(index)] = std::move(value);
}

// One line of the file; false when it stops the file.
bool ApplyLine(std::string_view line, LanguageTexts& texts, LanguageFileContent& content) {
    if (StartsWith(line, "#LN:")) {
        content.code = KeyValue(line);
        content.hasCode = true;
        return true;
    }
    std::size_t nameEnd = 0;
    while (nameEnd < line.size() && IsNameCharacter(line[nameEnd]))
        ++nameEnd;
    if (nameEnd == 0 || nameEnd == line.size())
        return true;
    const std::string_view name = line.substr(0, nameEnd);
    if (line[nameEnd] == ':') {
        content.captions.emplace_back(std::string(name), KeyValue(line));
        return true;
    }
    if (line[nameEnd] != '[')
        return true;
    if (name == "Text") {
        // The built-in text may hold colons: it runs to the first "]:".
        const std::size_t close = line.find("]:", nameEnd);
        if (close == std::string_view::npos || close == nameEnd + 1)
            return true;
        const std::string_view rest = line.substr(close + 2);
        const std::size_t semicolon = rest.find(';');
        content.texts.emplace_back(std::string(line.substr(nameEnd + 1, close - nameEnd - 1)),
                                   semicolon == std::string_view::npos
                                       ? std::string()
                                       : std::string(rest.substr(0, semicolon)));
        return true;
    }
    const auto list = std::find_if(kListFamilies.begin(), kListFamilies.end(),
                                   [name](const ListFamily& f) { return f.key == name; });
    const bool textFamily = name == "MainStr" || name == "LandStr" || name == "ColorStr" ||
                            name == "StatStr" || name == "DiagStr";
    if (!textFamily && list == kListFamilies.end() && name != "Panels")
        return true;  // no key of ours
    std::size_t close = line.find(']', nameEnd);
    if (close == std::string_view::npos)
        close = std::min(line.find(':', nameEnd), line.size());
    const std::string_view digits = line.substr(nameEnd + 1, close - nameEnd - 1);
    const bool numeric =
        !digits.empty() && digits.size() <= 4 &&
        std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!numeric) {
        content.error = FormatError(digits).what();
        return false;
    }
    const int index = std::stoi(std::string(digits));
    std::string value = KeyValue(line);
    if (name == "Panels") {
        if (index == 0)
            content.captions.emplace_back("Panels[0]", std::move(value));
    } else if (name == "MainStr") {
        SetFamilyText(texts.MainStr, index, 0, std::move(value));
    } else if (name == "LandStr") {
        SetFamilyText(texts.LandStr, index, 0, std::move(value));
    } else if (name == "ColorStr") {
        SetFamilyText(texts.ColorStr, index, 1, std::move(value));
    } else if (name == "StatStr") {
        SetFamilyText(texts.StatStr, index, 1, std::move(value));
    } else if (name == "DiagStr") {
        SetFamilyText(texts.DiagStr, index, 1, std::move(value));
    } else if (index <= 9) {
        content.listItems.push_back({std::string(list->list), index, std::move(value)});
    }
    return true;
}

}  // namespace

LanguageFileContent ReadLanguageText(std::string_view text, LanguageTexts& texts) {
    LanguageFileContent content;
    bool going = true;
    ForEachTextLine(text, [&](std::string_view line) {
        if (going)
            going = ApplyLine(line, texts, content);
    });
    return content;
}

std::optional<LanguageFileContent> ReadLanguageFile(const std::filesystem::path& path,
                                                    LanguageTexts& texts) {
    const auto text = ReadTextFile(path);
    if (!text)
        return std::nullopt;
    return ReadLanguageText(*text, texts);
}

std::string LanguageBaseName(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    return std::string(dot == std::string_view::npos ? fileName : fileName.substr(0, dot));
}

std::vector<LanguageRecord> RefreshLanguageList(const std::filesystem::path& languageFolder) {
    std::vector<LanguageRecord> records;
    std::error_code ec;
    std::filesystem::directory_iterator it(languageFolder, ec);
    for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
        const std::filesystem::path& path = it->path();
        std::error_code typeError;
        if (path.extension() != ".lng" || !it->is_regular_file(typeError))
            continue;
        LanguageRecord record;
        record.baseName = LanguageBaseName(path.filename().string());
        // Only the language line is needed: code in characters 5-6, the name from 8 on.
        if (const auto lines = ReadTextLines(path); lines && lines->size() >= 2) {
            const std::string_view line = (*lines)[1];
            record.code = std::string(line.substr(std::min<std::size_t>(4, line.size()), 2));
            record.displayName = std::string(FromColumn(line, 8));
        }
        records.push_back(std::move(record));
    }
    std::sort(records.begin(), records.end(), [](const LanguageRecord& a, const LanguageRecord& b) {
        return a.baseName < b.baseName;
    });
    return records;
}

}  // namespace zentorix
