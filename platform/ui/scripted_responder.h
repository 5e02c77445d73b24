#pragma once

#include "platform/ui/ui.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace ui {

// One request that reached the responder, in the order they came.
struct Request
{
    enum class Kind { MsgBox, InputBox, Modal, OpenFile };
    Kind kind = Kind::MsgBox;
    QString prompt;          // message or input prompt; the dialog's object name for Modal
    int style = 0;           // message-box style
    QString title;           // as the caller gave it (null: the program's own title)
    QString defaultText;     // input box's default; file dialog's filter
    QStringList buttons;     // message box: the buttons' texts in order
    int icon = 0;            // message box: 0, 16, 32, 48 or 64
    int answer = 0;          // message box: what was answered
    QString text;            // input box / file dialog: what was answered
    bool unexpected = false; // nothing in the script answered it
};

// Answers the seam from a script and records every request, for tests (and
// for any library that wants to drive its dialogs without a screen). A request
// the script did not foresee never blocks: it is recorded as unexpected and
// answered with the box's first button (Cancel instead of Retry, so that no
// procedure loops), the empty text, or a dialog left untouched.
class ScriptedResponder : public Responder
{
public:
    using DialogScript = std::function<void(QDialog &)>;

    // Queue the next answers, in the order the requests will come.
    ScriptedResponder &answer(int msgBoxAnswer);
    ScriptedResponder &type(const QString &inputText);  // input box: this text (empty: Cancel)
    ScriptedResponder &drive(DialogScript script);      // modal dialog: run this on it
    ScriptedResponder &chooseFile(const QString &path); // file dialog: this path (empty: Cancel)

    const std::vector<Request> &requests() const { return m_requests; }
    // The message boxes' prompts, in order (the texts a test asserts most).
    QStringList prompts() const;
    const Request &last() const { return m_requests.back(); }
    int unexpected() const { return m_unexpected; }
    // Scripted answers not consumed yet.
    int pending() const { return int(m_script.size()); }
    void clear();

    int msgBox(const QString &prompt, int style, const QString &title) override;
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    void modal(QDialog &dialog) override;
    QString openFileName(const QString &title, const QString &filter, const QString &folder) override;

private:
    struct Step
    {
        Request::Kind kind;
        int answer = 0;
        QString text;
        DialogScript script;
    };
    // The next scripted step when it is of this kind; null when the script is
    // empty or expects another kind (that step stays for the next request).
    const Step *next(Request::Kind kind) const;
    Request &record(Request request);
    // Input box and file dialog: answered with the next step's text.
    QString answerText(Request::Kind kind, const QString &prompt, const QString &title, const QString &defaultText);

    std::deque<Step> m_script;
    std::vector<Request> m_requests;
    int m_unexpected = 0;
};

} // namespace ui
