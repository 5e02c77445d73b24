#include "platform/ui/ui.h"

#include "platform/runtime/steps.h"
#include "platform/runtime/strings.h"
#include "platform/ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include <cstdint>

namespace ui {

namespace {

Responder *g_responder = nullptr;
QString g_title;

const char *const kAnswerProperty = "vbAnswer";

int buttonSet(int style)
{
    return style & 0x7;
}

QString answerText(int answer)
{
    switch (answer) {
    case vbOK:
        return QStringLiteral("Aceptar");
    case vbCancel:
        return QStringLiteral("Cancelar");
    case vbAbort:
        return QStringLiteral("Anular");
    case vbRetry:
        return QStringLiteral("Reintentar");
    case vbIgnore:
        return QStringLiteral("Omitir");
    case vbYes:
        return QStringLiteral("Sí");
    case vbNo:
        return QStringLiteral("No");
    }
    return {};
}

QMessageBox::ButtonRole answerRole(int answer)
{
    switch (answer) {
    case vbOK:
        return QMessageBox::AcceptRole;
    case vbCancel:
        return QMessageBox::RejectRole;
    case vbAbort:
        return QMessageBox::RejectRole;
    case vbRetry:
        return QMessageBox::AcceptRole;
    case vbIgnore:
        return QMessageBox::AcceptRole;
    case vbYes:
        return QMessageBox::YesRole;
    case vbNo:
        return QMessageBox::NoRole;
    }
    return QMessageBox::InvalidRole;
}

// Closing a box through its title bar answers as the platform did: Cancel
// where there is one, OK for a lone OK; boxes without either leave the caller's
// procedure (Abort) or decline (No) rather than go on.
int closeAnswer(int style)
{
    switch (buttonSet(style)) {
    case vbOKOnly:
        return vbOK;
    case vbAbortRetryIgnore:
        return vbAbort;
    case vbYesNo:
        return vbNo;
    default:
        return vbCancel;
    }
}

bool canTakeTabFocus(const QWidget *w, const QWidget *window)
{
    return w->window() == window && w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus)
           && !w->focusProxy();
}

void focusNext()
{
    QWidget *current = QApplication::focusWidget();
    if (!current) {
        if (QWidget *active = QApplication::activeWindow())
            current = active->focusWidget();
    }
    if (!current)
        return;
    QWidget *window = current->window();
    for (QWidget *w = current->nextInFocusChain(); w && w != current; w = w->nextInFocusChain()) {
        if (canTakeTabFocus(w, window)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

QString ApplicationTitle()
{
    if (!g_title.isEmpty())
        return g_title;
    return QCoreApplication::applicationName();
}

void SetApplicationTitle(const QString &title)
{
    g_title = title;
}

QList<int> ButtonAnswers(int style)
{
    switch (buttonSet(style)) {
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    default:
        return {vbOK};
    }
}

QStringList ButtonTexts(int style)
{
    QStringList texts;
    for (int answer : ButtonAnswers(style))
        texts << answerText(answer);
    return texts;
}

int StyleIcon(int style)
{
    return style & 0x70;
}

int DefaultButtonIndex(int style)
{
    const int wanted = (style & 0x300) >> 8;
    const int count = int(ButtonAnswers(style).size());
    return wanted < count ? wanted : 0;
}

std::unique_ptr<QMessageBox> CreateMessageBox(const QString &prompt, int style, const QString &title)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(title.isNull() ? ApplicationTitle() : title);
    box->setText(prompt);
    box->setTextFormat(Qt::PlainText);
    switch (StyleIcon(style)) {
    case vbCritical:
        box->setIcon(QMessageBox::Critical);
        break;
    case vbQuestion:
        box->setIcon(QMessageBox::Question);
        break;
    case vbExclamation:
        box->setIcon(QMessageBox::Warning);
        break;
    case vbInformation:
        box->setIcon(QMessageBox::Information);
        break;
    default:
        box->setIcon(QMessageBox::NoIcon);
        break;
    }
    const QList<int> answers = ButtonAnswers(style);
    const int defaultIndex = DefaultButtonIndex(style);
    const int onClose = closeAnswer(style);
    for (int i = 0; i < answers.size(); ++i) {
        QPushButton *button = box->addButton(answerText(answers[i]), answerRole(answers[i]));
        button->setProperty(kAnswerProperty, answers[i]);
        if (i == defaultIndex)
            box->setDefaultButton(button);
        if (answers[i] == onClose)
            box->setEscapeButton(button);
    }
    return box;
}

int MessageBoxAnswer(const QMessageBox &box, const QAbstractButton *clicked)
{
    if (!clicked)
        clicked = box.escapeButton();
    if (clicked) {
        bool ok = false;
        const int answer = clicked->property(kAnswerProperty).toInt(&ok);
        if (ok)
            return answer;
    }
    return vbCancel;
}

int MsgBox(const QString &prompt, int style, const QString &title)
{
    if (g_responder)
        return g_responder->msgBox(prompt, style, title);
    std::unique_ptr<QMessageBox> box = CreateMessageBox(prompt, style, title);
    box->exec();
    return MessageBoxAnswer(*box, box->clickedButton());
}

Steps ShowingErrors(const QString &title)
{
    return Steps([title](const ErrObject &err) {
        MsgBox(err.Description, vbCritical, title);
        return Steps::Ignore;
    });
}

QString InputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    if (g_responder)
        return g_responder->inputBox(prompt, title, defaultText);
    QInputDialog dialog;
    dialog.setWindowTitle(title.isNull() ? ApplicationTitle() : title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(QStringLiteral("Aceptar"));
    dialog.setCancelButtonText(QStringLiteral("Cancelar"));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

void ShowModal(QDialog &dialog)
{
    if (g_responder) {
        g_responder->modal(dialog);
        return;
    }
    // exec() runs until done(), close() or hide(): hiding a dialog ends its
    // nested loop, which is how the suite's dialogs return to their caller.
    dialog.setModal(true);
    dialog.exec();
}

QString GetOpenFileName(const QString &title, const QString &filter, const QString &folder)
{
    if (g_responder)
        return g_responder->openFileName(title, filter, folder);
    QFileDialog dialog(QApplication::activeWindow(), title.isNull() ? ApplicationTitle() : title, folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Abrir"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Buscar en:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SendKeys(const QString &keys)
{
    // Only the tab key is sent by the suite; other keys are not simulated.
    const QString tab = QStringLiteral("{TAB}");
    for (qsizetype at = vb::IndexOfText(keys, tab); at >= 0; at = vb::IndexOfText(keys, tab, at + tab.size()))
        focusNext();
}

void SetResponder(Responder *responder)
{
    g_responder = responder;
}

Responder *CurrentResponder()
{
    return g_responder;
}

} // namespace ui
