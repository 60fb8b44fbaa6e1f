#include "ui/Items.h"

#include "ui/Text.h"
#include "ui/Window.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ui {

namespace {

const char* const kLimitProperty = "uiLimit";

QString WindowsLineBreaks(QString text) {
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

QString Limited(const QWidget* item, QString text) {
    const int limit = ItemLimit(item);
    if (limit > 0 && text.size() > limit) text.truncate(limit);
    return text;
}

} // namespace

std::string ItemText(const QWidget* item) {
    if (!item) return {};
    if (auto* e = qobject_cast<const QLineEdit*>(item)) return FromQt(e->text());
    if (auto* e = qobject_cast<const QPlainTextEdit*>(item))
        return FromQt(WindowsLineBreaks(e->toPlainText()));
    if (auto* e = qobject_cast<const QTextEdit*>(item))
        return FromQt(WindowsLineBreaks(e->toPlainText()));
    if (auto* l = qobject_cast<const QLabel*>(item)) return FromQt(WindowsLineBreaks(l->text()));
    if (auto* b = qobject_cast<const QAbstractButton*>(item)) return FromQt(b->text());
    if (auto* c = qobject_cast<const QComboBox*>(item)) return FromQt(c->currentText());
    if (TWindow* w = GetWindowPtr(const_cast<QWidget*>(item))) return w->GetCaption();
    return FromQt(item->windowTitle());
}

void SetItemText(QWidget* item, std::string_view text) {
    if (!item) return;
    const QString q = ToQt(text);
    if (auto* e = qobject_cast<QLineEdit*>(item)) {
        e->setText(q);
        e->setModified(false);
    } else if (auto* e = qobject_cast<QPlainTextEdit*>(item)) {
        e->setPlainText(Limited(item, LineBreaksToQt(q)));
        e->document()->setModified(false);
    } else if (auto* e = qobject_cast<QTextEdit*>(item)) {
        e->setPlainText(Limited(item, LineBreaksToQt(q)));
        e->document()->setModified(false);
    } else if (auto* l = qobject_cast<QLabel*>(item)) {
        l->setText(LineBreaksToQt(q));
    } else if (auto* b = qobject_cast<QAbstractButton*>(item)) {
        b->setText(q);
    } else if (auto* c = qobject_cast<QComboBox*>(item)) {
        if (c->isEditable())
            c->setEditText(q);
        else
            c->setCurrentIndex(c->findText(q));
    } else if (TWindow* w = GetWindowPtr(item)) {
        w->SetCaption(std::string(text).c_str());
    } else {
        item->setWindowTitle(q);
    }
}

bool ItemModified(const QWidget* item) {
    if (auto* e = qobject_cast<const QLineEdit*>(item)) return e->isModified();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(item)) return e->document()->isModified();
    if (auto* e = qobject_cast<const QTextEdit*>(item)) return e->document()->isModified();
    return false;
}

void ClearItemModified(QWidget* item) {
    if (auto* e = qobject_cast<QLineEdit*>(item))
        e->setModified(false);
    else if (auto* e = qobject_cast<QPlainTextEdit*>(item))
        e->document()->setModified(false);
    else if (auto* e = qobject_cast<QTextEdit*>(item))
        e->document()->setModified(false);
}

void SetItemLimit(QWidget* item, int limit) {
    if (!item) return;
    item->setProperty(kLimitProperty, limit);
    if (auto* e = qobject_cast<QLineEdit*>(item)) e->setMaxLength(limit > 0 ? limit : 32767);
}

int ItemLimit(const QWidget* item) {
    const QVariant v = item ? item->property(kLimitProperty) : QVariant();
    return v.isValid() ? v.toInt() : 0;
}

} // namespace ui
