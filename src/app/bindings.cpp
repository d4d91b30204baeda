#include "app/bindings.h"

#include <QGroupBox>

#include <QLineEdit>

namespace zentorix::app {

QCheckBox* MakeCheckBox(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

QLabel* MakeLabel(const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

QGroupBox* MakeGroup(const char* name, const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

QWidget* WrapNamed(const char* name, QWidget* content, QWidget* parent) {
    auto* panel = new QWidget(parent);
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content);
    return panel;
}

QVBoxLayout* MakeColumn(QWidget* parent, int margin) {
    auto* layout = new QVBoxLayout(parent);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(2);
    return layout;
}

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QPushButton* AddSaveCancelRow(QBoxLayout* layout, QWidget* panel, const char* saveName,
                              const QString& saveCaption, const char* cancelName) {
    auto* buttons = new QHBoxLayout;
    auto* save = MakeButton(saveName, saveCaption, panel);
    auto* cancel = MakeButton(cancelName, QObject::tr("Скасувати"), panel);
    buttons->addStretch(1);
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    QObject::connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    return save;
}

QToolButton* MakeToolButton(const char* name, const QString& caption, bool checkable,
                            QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(caption);
    button->setCheckable(checkable);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

QComboBox* MakeComboBox(const char* name, const QStringList& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

QSpinBox* MakeUpDown(const char* upDownName, const char* editName, int min, int max,
                     QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(upDownName);
    spin->setRange(min, max);
    spin->findChild<QLineEdit*>()->setObjectName(editName);
    return spin;
}

void Bindings::Check(QCheckBox* box, bool Settings::*member, std::function<void()> changed) {
    QObject::connect(box, &QCheckBox::toggled, box, [this, member, changed](bool on) {
        session_.settings().*member = on;
        if (changed)
            changed();
        Refresh();  // twins of the control follow at once
    });
    refreshers_.push_back([this, box, member] {
        const QSignalBlocker block(box);
        box->setChecked(session_.settings().*member);
    });
}

void Bindings::Int(QSpinBox* spin, std::function<int()> get, std::function<void(int)> set,
                   std::function<void()> changed) {
    QObject::connect(spin, &QSpinBox::valueChanged, spin, [this, set, changed](int v) {
        set(v);
        if (changed)
            changed();
        Refresh();
    });
    refreshers_.push_back([spin, get] {
        const QSignalBlocker block(spin);
        spin->setValue(get());
    });
}

void Bindings::ComboIndex(QComboBox* combo, std::function<int()> get, std::function<void(int)> set,
                          std::function<void()> changed) {
    QObject::connect(combo, &QComboBox::activated, combo, [this, set, changed](int v) {
        set(v);
        if (changed)
            changed();
        Refresh();
    });
    refreshers_.push_back([combo, get] {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(get());
    });
}

void Bindings::Refresh() const {
    for (const auto& refresh : refreshers_)
        refresh();
}

}  // namespace zentorix::app
