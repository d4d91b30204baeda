#pragma once

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <functional>
#include <vector>

#include "app/session.h"

namespace zentorix::app {

// Small factories that give every control its object name, the name tests and language files know
// it by.
QCheckBox* MakeCheckBox(const char* name, const QString& caption, QWidget* parent = nullptr);
QLabel* MakeLabel(const char* name, const QString& caption, QWidget* parent = nullptr);
QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent = nullptr);
QGroupBox* MakeGroup(const char* name, const QString& title, QWidget* parent = nullptr);
// A plain container of that name around one widget: a frame whose title is a
// caption of its own keeps the container's name for the rest of the window.
QWidget* WrapNamed(const char* name, QWidget* content, QWidget* parent);
// A page's column of controls: small spacing, `margin` pixels around.
QVBoxLayout* MakeColumn(QWidget* parent, int margin = 4);
// The row of a pop-up panel's save and cancel buttons, right-aligned under
// `layout`; cancel hides `panel`. Gives the save button.
QPushButton* AddSaveCancelRow(QBoxLayout* layout, QWidget* panel, const char* saveName,
                              const QString& saveCaption, const char* cancelName);
QToolButton* MakeToolButton(const char* name, const QString& caption, bool checkable,
                            QWidget* parent = nullptr);
QComboBox* MakeComboBox(const char* name, const QStringList& items, QWidget* parent = nullptr);
// An up-down with its edit box: the spin box carries the up-down's name ("Int...")
// and its line edit the edit box's name ("String...").
QSpinBox* MakeUpDown(const char* upDownName, const char* editName, int min, int max,
                     QWidget* parent = nullptr);

// Binds controls to Settings values: a change of the control writes the value
// (which clamps it) and runs the optional follow-up; Refresh writes every value
// back into its control without re-triggering the handlers (after a file load).
class Bindings {
  public:
    explicit Bindings(Session& session) : session_(session) {}

    void Check(QCheckBox* box, bool Settings::*member, std::function<void()> changed = {});
    template <int Min, int Max, int Default>
    void UpDown(QSpinBox* spin, Ranged<Min, Max, Default> Settings::*member,
                std::function<void()> changed = {}) {
        spin->setRange(Min, Max);
        Int(
            spin, [this, member] { return static_cast<int>(session_.settings().*member); },
            [this, member](int v) { session_.settings().*member = v; }, std::move(changed));
    }
    template <int Min, int Max, int Default>
    void Combo(QComboBox* combo, Ranged<Min, Max, Default> Settings::*member,
               std::function<void()> changed = {}) {
        ComboIndex(
            combo, [this, member] { return static_cast<int>(session_.settings().*member); },
            [this, member](int v) { session_.settings().*member = v; }, std::move(changed));
    }
    void Int(QSpinBox* spin, std::function<int()> get, std::function<void(int)> set,
             std::function<void()> changed = {});
    void ComboIndex(QComboBox* combo, std::function<int()> get, std::function<void(int)> set,
                    std::function<void()> changed = {});
    // Anything else that must follow the model after a load.
    void OnRefresh(std::function<void()> refresh) { refreshers_.push_back(std::move(refresh)); }

    void Refresh() const;

  private:
    Session& session_;
    std::vector<std::function<void()>> refreshers_;
};

}  // namespace zentorix::app
