#include "ui/box_accessible.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace agelark {

namespace {

class LockableBoxAccessible : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface {
public:
    explicit LockableBoxAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface) return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box()->text();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) return QAccessibleWidget::setText(t, text);
        if (!locked()) box()->setText(text);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = !locked();
        s.readOnly = box()->isReadOnly();
        s.selectableText = true;
        return s;
    }

    // The text interface.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !box()->hasSelectedText()) return;
        *start = box()->selectionStart();
        *end = box()->selectionEnd();
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int start, int end) override { box()->setSelection(start, end - start); }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int start, int end) const override { return box()->text().mid(start, end - start); }
    int characterCount() const override { return int(box()->text().size()); }
    QRect characterRect(int offset) const override {
        // Where the caret would stand before and after the character, on the screen.
        const QString text = box()->text();
        if (offset < 0 || offset >= text.size()) return {};
        const QFontMetrics metrics = box()->fontMetrics();
        const QRect inside = box()->contentsRect().marginsRemoved(box()->textMargins());
        const int caret = box()->cursorPosition();
        const int caretX = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect().x();
        const int x = caretX + metrics.horizontalAdvance(text.left(offset)) - metrics.horizontalAdvance(text.left(caret));
        const QRect local(x, inside.center().y() - metrics.height() / 2, metrics.horizontalAdvance(text.at(offset)),
                          metrics.height());
        return QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint local = box()->mapFromGlobal(point);
        return box()->rect().contains(local) ? box()->cursorPositionAt(local) : -1;
    }
    void scrollToSubstring(int start, int end) override {
        box()->setCursorPosition(end);
        box()->setCursorPosition(start);
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // The editable-text interface: refused while the box is locked.
    void deleteText(int start, int end) override { replaceText(start, end, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int start, int end, const QString& text) override {
        if (locked()) return;
        box()->setText(box()->text().replace(start, end - start, text));
    }

private:
    QLineEdit* box() const { return static_cast<QLineEdit*>(widget()); }
    bool locked() const { return !box()->isEnabled() || box()->isReadOnly(); }
};

}  // namespace

QAccessibleInterface* lockableBoxAccessible(QLineEdit* box) { return new LockableBoxAccessible(box); }

}  // namespace agelark
