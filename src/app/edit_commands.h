#pragma once

class QMenu;
class QWidget;

namespace zentorix::app {

class ToolGroup;

class MainWindow;
class FieldEditing;

// The editing commands in the main menu's Edit menu and in the view's context
// menu PopupMenu1, with their captions and shortcuts. Context-menu keys act only
// while that menu is open (KeyCommands dispatches them); the main menu's act
// otherwise, so no key has two meanings at once.
void AddEditCommands(MainWindow& window, FieldEditing& editing, QMenu* edit, QMenu* context);

// The editing tool bar: the Paint and Select twins, the mode panel, the turn and
// mirror twins and the snapshot series with its count.
ToolGroup* BuildEditToolBar(MainWindow& window);

// The turn and mirror buttons of the options page.
QWidget* BuildTransformButtons(MainWindow& window, QWidget* parent);

// The Automaton panel Panel46: places the two mini files at the next offset.
QWidget* BuildAutomatonPanel(MainWindow& window, QWidget* parent);

}  // namespace zentorix::app
