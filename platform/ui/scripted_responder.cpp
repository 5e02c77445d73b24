#include "platform/ui/scripted_responder.h"

#include <QDialog>

namespace ui {

ScriptedResponder &ScriptedResponder::answer(int msgBoxAnswer)
{
    m_script.push_back({Request::Kind::MsgBox, msgBoxAnswer, {}, {}});
    return *this;
}

ScriptedResponder &ScriptedResponder::type(const QString &inputText)
{
    m_script.push_back({Request::Kind::InputBox, 0, inputText, {}});
    return *this;
}

ScriptedResponder &ScriptedResponder::drive(DialogScript script)
{
    m_script.push_back({Request::Kind::Modal, 0, {}, std::move(script)});
    return *this;
}

ScriptedResponder &ScriptedResponder::chooseFile(const QString &path)
{
    m_script.push_back({Request::Kind::OpenFile, 0, path, {}});
    return *this;
}

QStringList ScriptedResponder::prompts() const
{
    QStringList out;
    for (const Request &r : m_requests)
        if (r.kind == Request::Kind::MsgBox)
            out << r.prompt;
    return out;
}

void ScriptedResponder::clear()
{
    m_script.clear();
    m_requests.clear();
    m_unexpected = 0;
}

const ScriptedResponder::Step *ScriptedResponder::next(Request::Kind kind) const
{
    if (m_script.empty() || m_script.front().kind != kind)
        return nullptr;
    return &m_script.front();
}

Request &ScriptedResponder::record(Request request)
{
    if (request.unexpected)
        ++m_unexpected;
    m_requests.push_back(std::move(request));
    return m_requests.back();
}

int ScriptedResponder::msgBox(const QString &prompt, int style, const QString &title)
{
    Request r;
    r.kind = Request::Kind::MsgBox;
    r.prompt = prompt;
    r.style = style;
    r.title = title;
    r.buttons = ButtonTexts(style);
    r.icon = StyleIcon(style);
    if (const Step *step = next(r.kind)) {
        r.answer = step->answer;
        m_script.pop_front();
    } else {
        r.unexpected = true;
        r.answer = ButtonAnswers(style).constFirst();
        if (r.answer == vbRetry)
            r.answer = vbCancel;
    }
    return record(std::move(r)).answer;
}

QString ScriptedResponder::answerText(Request::Kind kind,
                                      const QString &prompt,
                                      const QString &title,
                                      const QString &defaultText)
{
    Request r;
    r.kind = kind;
    r.prompt = prompt;
    r.title = title;
    r.defaultText = defaultText;
    if (const Step *step = next(r.kind)) {
        r.text = step->text;
        m_script.pop_front();
    } else {
        r.unexpected = true;
    }
    return record(std::move(r)).text;
}

QString ScriptedResponder::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return answerText(Request::Kind::InputBox, prompt, title, defaultText);
}

void ScriptedResponder::modal(QDialog &dialog)
{
    Request r;
    r.kind = Request::Kind::Modal;
    r.prompt = dialog.objectName();
    r.title = dialog.windowTitle();
    DialogScript script;
    if (const Step *step = next(r.kind)) {
        script = step->script;
        m_script.pop_front();
    } else {
        r.unexpected = true;
    }
    record(std::move(r));
    if (script) {
        // The script sees the dialog as the operator would: shown.
        dialog.show();
        script(dialog);
        dialog.hide();
    }
}

QString ScriptedResponder::openFileName(const QString &title, const QString &filter, const QString &folder)
{
    return answerText(Request::Kind::OpenFile, folder, title, filter);
}

} // namespace ui
