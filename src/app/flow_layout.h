#pragma once

#include <QLayout>
#include <QList>
#include <QWidget>

namespace zentorix::app {

// Lays its items out left to right at their preferred sizes and starts a new
// row where the next one would not fit, so a narrow window shows every control
// in more rows instead of hiding some behind an overflow menu. Items of a row
// are centred vertically in it; one widget may take what its row leaves free.
class FlowLayout : public QLayout {
  public:
    explicit FlowLayout(QWidget* parent, int spacing = 2);
    ~FlowLayout() override;

    // This widget takes the width its row leaves free.
    void setStretchWidget(QWidget* widget) { stretch_ = widget; }

    void addItem(QLayoutItem* item) override;
    int count() const override { return static_cast<int>(items_.size()); }
    QLayoutItem* itemAt(int index) const override { return items_.value(index); }
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

  private:
    // Places the items (when `apply`) and gives the height they take.
    int Arrange(const QRect& rect, bool apply) const;

    QList<QLayoutItem*> items_;
    QWidget* stretch_ = nullptr;
};

// A group of controls of the tool bar that stays together on one row, always
// at its full width (no overflow menu of its own).
class ToolGroup : public QWidget {
    Q_OBJECT

  public:
    explicit ToolGroup(const char* name, QWidget* parent = nullptr);

    // Tool buttons get the flat look of a tool bar.
    void addWidget(QWidget* widget);
    void addSeparator();
};

}  // namespace zentorix::app
