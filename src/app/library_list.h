#pragma once

#include <QString>
#include <string>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace zentorix::app {

// An editable drop-down list of library files (colour schemes, palettes, layer
// files): choosing an entry loads it, and its text is the name a save writes.
QComboBox* MakeLibraryList(const char* name, QWidget* parent);

// Keeps the first `builtIns` entries, then lists the files; the text shown
// stays (selected again when it is still listed). Emits no signal.
void FillLibraryList(QComboBox* list, int builtIns, const std::vector<std::string>& files);

// Long names show from their start while the list has no focus.
void ShowStartOfText(QComboBox* list);

// The list with its save button beside it; the button shows only an icon (its
// caption becomes its tool tip) so that the name has the room.
QHBoxLayout* LibraryListRow(QComboBox* list, QPushButton* save);

// The question asked before a save replaces an existing file.
inline constexpr char kOverwriteQuestion[] = "Файл із таким іменем вже існує. Перезаписати?";

// Asks the overwrite question; true when the answer is Yes.
bool ConfirmOverwrite(QWidget* parent);

}  // namespace zentorix::app
