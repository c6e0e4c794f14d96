#include "platform/qt_prompts.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>

namespace zeko {

namespace {

QString qs(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// The buttons in the order they are shown; the first one is the default.
QList<QMessageBox::StandardButton> qtButtons(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::OK:
            return {QMessageBox::Ok};
        case MsgButtons::OKCancel:
            return {QMessageBox::Ok, QMessageBox::Cancel};
        case MsgButtons::AbortRetryIgnore:
            return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
        case MsgButtons::YesNoCancel:
            return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        case MsgButtons::YesNo:
            return {QMessageBox::Yes, QMessageBox::No};
        case MsgButtons::RetryCancel:
            return {QMessageBox::Retry, QMessageBox::Cancel};
    }
    return {QMessageBox::Ok};
}

MsgResult result(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgResult::OK;
        case QMessageBox::Cancel:
            return MsgResult::Cancel;
        case QMessageBox::Abort:
            return MsgResult::Abort;
        case QMessageBox::Retry:
            return MsgResult::Retry;
        case QMessageBox::Ignore:
            return MsgResult::Ignore;
        case QMessageBox::Yes:
            return MsgResult::Yes;
        case QMessageBox::No:
            return MsgResult::No;
        default:
            return MsgResult::Cancel;
    }
}

}  // namespace

MsgResult QtPrompts::message_box(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                 std::string_view title) {
    QMessageBox box(qtIcon(icon), qs(title), qs(text), QMessageBox::NoButton, parent_.data());
    box.setTextFormat(Qt::PlainText);
    const QList<QMessageBox::StandardButton> shown = qtButtons(buttons);
    for (QMessageBox::StandardButton b : shown)
        box.addButton(b);
    box.setDefaultButton(shown.front());
    // Escape and the close box answer as Qt's escape button does: Cancel where there is one,
    // otherwise No, Abort, or the lone OK.
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == nullptr) {
        return result(shown.contains(QMessageBox::Cancel) ? QMessageBox::Cancel : shown.back());
    }
    return result(box.standardButton(clicked));
}

std::string QtPrompts::input_box(std::string_view prompt, std::string_view title,
                                 std::string_view default_text) {
    QInputDialog dialog(parent_.data());
    dialog.setWindowTitle(qs(title));
    dialog.setLabelText(qs(prompt));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setTextEchoMode(QLineEdit::Normal);
    dialog.setTextValue(qs(default_text));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.textValue().toStdString();
}

}  // namespace zeko
