#include "ui/MessageBox.h"

#include "ui/Application.h"
#include "ui/Text.h"
#include "ui/WindowPrivate.h"

#include <QMessageBox>
#include <QPushButton>
#include <QPointer>
#include <QWidget>

#include <deque>
#include <memory>

namespace ui {

namespace {

std::deque<std::unique_ptr<TBoxTask>>& deferredBoxes() {
    static std::deque<std::unique_ptr<TBoxTask>> q;
    return q;
}

} // namespace

TBoxTask::TBoxTask(HWND owner, std::string text, std::string caption, UINT flags)
    : owner_(owner), text_(std::move(text)), caption_(std::move(caption)), flags_(flags) {}

std::string TBoxTask::GetCaption() const {
    return ToQt(caption_).toStdString();
}

std::string TBoxTask::GetText() const {
    return ToQt(text_).toStdString();
}

int TBoxTask::RunInteractive() {
    QMessageBox box(owner_ ? owner_->window() : nullptr);
    box.setWindowTitle(ToQt(caption_));
    box.setText(LineBreaksToQt(ToQt(text_)));
    switch (flags_ & 0xF0) {
    case MB_ICONHAND:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONASTERISK:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    const bool cancel = (flags_ & 0x0F) == MB_OKCANCEL;
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    QPushButton* no = cancel ? box.addButton(QMessageBox::Cancel) : nullptr;
    box.setDefaultButton(ok);
    box.setEscapeButton(no ? static_cast<QAbstractButton*>(no) : ok);
    box.setWindowModality(Qt::ApplicationModal);
    detail::PushModalLoop(&box, [](void* b) { static_cast<QMessageBox*>(b)->reject(); });
    if (flags_ & MB_SETFOREGROUND) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    box.exec();
    detail::PopModalLoop(&box);
    return box.clickedButton() == ok ? IDOK : no ? IDCANCEL : IDOK;
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT flags) {
    EnsureQtApplication();
    auto task = std::make_unique<TBoxTask>(owner, text ? text : "", caption ? caption : "", flags);
    if (PaintDepth() > 0) {
        const int answer = task->DefaultAnswer();
        deferredBoxes().push_back(std::move(task));
        return answer;
    }
    return RunModal(*task);
}

void RunDeferredBoxes() {
    while (PaintDepth() == 0 && !deferredBoxes().empty()) {
        std::unique_ptr<TBoxTask> task = std::move(deferredBoxes().front());
        deferredBoxes().pop_front();
        RunModal(*task);
    }
}

} // namespace ui
