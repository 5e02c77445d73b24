#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class Steps;

class QDialog;
class QWidget;

// The one seam through which every message box, input box and modal dialog
// passes: in the program they are real Qt windows; a test installs a
// Responder that answers them from a script and records what was asked.
namespace ui {

// Message-box styles: buttons + icon + default button, as the suite writes them.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// Answers.
enum MsgBoxResult : int { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// The program's own title (used when a message box is given no title).
QString ApplicationTitle();
void SetApplicationTitle(const QString &title);

// Shows a modal message box; returns the answer 1-7. A null title means the
// program's own title.
int MsgBox(const QString &prompt, int style = vbOKOnly, const QString &title = QString());

// Steps whose failures are shown to the operator, each as a critical message
// under the title, and then skipped.
Steps ShowingErrors(const QString &title);

// Asks for one text; returns the empty text when the operator cancels.
QString InputBox(const QString &prompt, const QString &title = QString(), const QString &defaultText = QString());

// Runs a dialog modally until it is hidden or closed.
void ShowModal(QDialog &dialog);

// Sends keystrokes to the focused control; "{TAB}" moves the focus to the next
// control in tab order that can take it.
void SendKeys(const QString &keys);

// Asks for a file to open; returns the chosen path, the empty text when the
// operator cancels. The filter is in Qt's form ("Textos (*.txt)").
QString GetOpenFileName(const QString &title, const QString &filter = QString(), const QString &folder = QString());

// What a message-box style offers: its buttons' texts and answers, in order,
// the icon part of the style (0, 16, 32, 48, 64) and the default button's index.
QStringList ButtonTexts(int style);
QList<int> ButtonAnswers(int style);
int StyleIcon(int style);
int DefaultButtonIndex(int style);

class Responder
{
public:
    virtual ~Responder() = default;
    virtual int msgBox(const QString &prompt, int style, const QString &title) = 0;
    // Returns the typed text; the empty text for Cancel.
    virtual QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) = 0;
    // Drives a modal dialog (fills it, clicks its buttons); returns when done.
    virtual void modal(QDialog &dialog) = 0;
    // Chooses a file to open; the empty text for Cancel.
    virtual QString openFileName(const QString &title, const QString &filter, const QString &folder)
    {
        (void) title, (void) filter, (void) folder;
        return {};
    }
};

// Installs a responder (nullptr restores the real windows). Not owned.
void SetResponder(Responder *responder);
Responder *CurrentResponder();

// Installs a responder for its own lifetime and puts the previous one back.
class ScopedResponder
{
public:
    explicit ScopedResponder(Responder &responder)
        : m_previous(CurrentResponder())
    {
        SetResponder(&responder);
    }
    ~ScopedResponder() { SetResponder(m_previous); }
    ScopedResponder(const ScopedResponder &) = delete;
    ScopedResponder &operator=(const ScopedResponder &) = delete;

private:
    Responder *m_previous;
};

} // namespace ui
