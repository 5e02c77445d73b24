#include "platform/ui/ui.h"
#include "platform/runtime/steps.h"
#include "platform/ui/message_box.h"
#include "platform/ui/scripted_responder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDialog>
#include <QFrame>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

#include <gtest/gtest.h>

namespace {

using namespace ui;

struct BoxCase
{
    int style;
    QStringList texts;
    QList<int> answers;
    QMessageBox::Icon icon;
    int defaultIndex;
    int closeAnswer; // what closing the box by its title bar answers
    friend void PrintTo(const BoxCase &c, std::ostream *os) { *os << "style " << c.style; }
};

class MessageBoxStyles : public ::testing::TestWithParam<BoxCase>
{};

TEST_P(MessageBoxStyles, RealBoxHasTheStylesSpanishButtonsIconAndDefault)
{
    const BoxCase &c = GetParam();
    auto box = CreateMessageBox(QStringLiteral("¿Continúa?"), c.style, QStringLiteral("Atencion"));
    EXPECT_EQ(box->text(), QStringLiteral("¿Continúa?"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Atencion"));
    EXPECT_EQ(box->icon(), c.icon);

    const QList<QAbstractButton *> buttons = box->buttons();
    ASSERT_EQ(buttons.size(), c.texts.size());
    QStringList texts;
    QList<int> answers;
    // buttons() is in insertion order only per role; read them by answer instead.
    for (QAbstractButton *b : buttons) {
        texts << b->text();
        answers << MessageBoxAnswer(*box, b);
    }
    for (int i = 0; i < c.texts.size(); ++i) {
        SCOPED_TRACE(c.texts[i].toStdString());
        [&] {
            const qsizetype at = texts.indexOf(c.texts[i]);
            ASSERT_GE(at, 0);
            EXPECT_EQ(answers[at], c.answers[i]);
        }();
    }
    ASSERT_NE(box->defaultButton(), nullptr);
    EXPECT_EQ(box->defaultButton()->text(), c.texts[c.defaultIndex]);
    EXPECT_EQ(MessageBoxAnswer(*box, nullptr), c.closeAnswer);
    EXPECT_EQ(ButtonTexts(c.style), c.texts);
    EXPECT_EQ(ButtonAnswers(c.style), c.answers);
}

INSTANTIATE_TEST_SUITE_P(
    Styles,
    MessageBoxStyles,
    ::testing::Values(
        BoxCase{vbOKOnly, {"Aceptar"}, {vbOK}, QMessageBox::NoIcon, 0, vbOK},
        BoxCase{vbOKCancel + vbQuestion, {"Aceptar", "Cancelar"}, {vbOK, vbCancel}, QMessageBox::Question, 0, vbCancel},
        BoxCase{vbAbortRetryIgnore + vbCritical,
                {"Anular", "Reintentar", "Omitir"},
                {vbAbort, vbRetry, vbIgnore},
                QMessageBox::Critical,
                0,
                vbAbort},
        BoxCase{vbYesNoCancel + vbExclamation + vbDefaultButton3,
                {"Sí", "No", "Cancelar"},
                {vbYes, vbNo, vbCancel},
                QMessageBox::Warning,
                2,
                vbCancel},
        BoxCase{
            vbYesNo + vbInformation + vbDefaultButton2, {"Sí", "No"}, {vbYes, vbNo}, QMessageBox::Information, 1, vbNo},
        BoxCase{vbRetryCancel, {"Reintentar", "Cancelar"}, {vbRetry, vbCancel}, QMessageBox::NoIcon, 0, vbCancel},
        // A default button beyond the style's buttons falls back to the first.
        BoxCase{vbOKOnly + vbDefaultButton3, {"Aceptar"}, {vbOK}, QMessageBox::NoIcon, 0, vbOK}));

TEST(MessageBox, NullTitleTakesTheProgramsTitleButEmptyStaysEmpty)
{
    SetApplicationTitle(QStringLiteral("Anulación de comprobantes"));
    EXPECT_EQ(CreateMessageBox(QStringLiteral("x"), 0, QString())->windowTitle(),
              QStringLiteral("Anulación de comprobantes"));
    EXPECT_EQ(CreateMessageBox(QStringLiteral("x"), 0, QStringLiteral(""))->windowTitle(), QString());
    SetApplicationTitle(QString());
}

TEST(MessageBox, RealBoxAnswersTheClickedButton)
{
    // Click "Omitir" on the real, modal box once its loop runs.
    QTimer::singleShot(0, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
                for (QAbstractButton *b : box->buttons())
                    if (b->text() == QStringLiteral("Omitir"))
                        b->click();
    });
    EXPECT_EQ(MsgBox(QStringLiteral("Falla"), vbAbortRetryIgnore + vbCritical, QStringLiteral("t")), vbIgnore);
}

TEST(InputBox, RealDialogGivesTheTypedTextAndEmptyOnCancel)
{
    struct Case
    {
        bool accept;
        QString typed;
        QString expected;
    } cases[] = {{true, QStringLiteral("12,5"), QStringLiteral("12,5")}, {false, QStringLiteral("12,5"), QString()}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.accept);
        QString shownDefault;
        QTimer::singleShot(0, [&] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *dlg = qobject_cast<QInputDialog *>(w); dlg && dlg->isVisible()) {
                    shownDefault = dlg->textValue();
                    dlg->setTextValue(c.typed);
                    c.accept ? dlg->accept() : dlg->reject();
                }
        });
        EXPECT_EQ(InputBox(QStringLiteral("Cantidad"), QStringLiteral("Aviso"), QStringLiteral("1")), c.expected);
        EXPECT_EQ(shownDefault, QStringLiteral("1"));
    }
}

// A dialog of the suite: its buttons only hide it, and ShowModal must return.
TEST(ShowModal, ReturnsWhenTheDialogIsHiddenClosedOrAccepted)
{
    const std::function<void(QDialog &)> ends[] = {
        [](QDialog &d) { d.hide(); },
        [](QDialog &d) { d.close(); },
        [](QDialog &d) { d.accept(); },
    };
    for (size_t i = 0; i < std::size(ends); ++i) {
        SCOPED_TRACE(i);
        QDialog dialog;
        auto *button = new QPushButton(QStringLiteral("Aceptar"), &dialog);
        bool sawModal = false;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&] {
            sawModal = dialog.isVisible() && dialog.isModal();
            ends[i](dialog);
        });
        QTimer::singleShot(0, button, &QPushButton::click);
        ShowModal(dialog);
        EXPECT_TRUE(sawModal);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(SendKeys, TabSkipsDisabledFrameHiddenAndUnfocusableControls)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *password = new QLineEdit(&window);
    auto *frame = new QFrame(&window);
    auto *inFrame = new QLineEdit(frame);
    (new QVBoxLayout(frame))->addWidget(inFrame);
    auto *label = new QLabel(QStringLiteral("HASTA LA FECHA INCLUSIVE"), &window);
    auto *hidden = new QLineEdit(&window);
    auto *check = new QCheckBox(&window);
    auto *cancel = new QPushButton(QStringLiteral("Cancelar"), &window);
    for (QWidget *w : {static_cast<QWidget *>(password),
                       static_cast<QWidget *>(frame),
                       static_cast<QWidget *>(label),
                       static_cast<QWidget *>(hidden),
                       static_cast<QWidget *>(check),
                       static_cast<QWidget *>(cancel)})
        layout->addWidget(w);
    frame->setEnabled(false);
    window.show();
    hidden->hide();
    window.activateWindow();
    QApplication::processEvents();
    password->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), password);

    SendKeys(QStringLiteral("{TAB}"));
    EXPECT_EQ(QApplication::focusWidget(), check);

    frame->setEnabled(true);
    password->setFocus();
    SendKeys(QStringLiteral("{tab}"));
    EXPECT_EQ(QApplication::focusWidget(), inFrame);

    // Two tabs in one call move twice; keys other than tab are not sent.
    SendKeys(QStringLiteral("{TAB}x{TAB}"));
    EXPECT_EQ(QApplication::focusWidget(), cancel);
    SendKeys(QStringLiteral("{ENTER}"));
    EXPECT_EQ(QApplication::focusWidget(), cancel);
    // The chain wraps round to the first control.
    SendKeys(QStringLiteral("{TAB}"));
    EXPECT_EQ(QApplication::focusWidget(), password);
}

// Enter in the voucher-type box tabs on to the date box, a composite control.
TEST(SendKeys, TabReachesADateBoxAndLeavesIt)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *type = new QLineEdit(&window);
    auto *date = new QDateEdit(&window);
    auto *accept = new QPushButton(QStringLiteral("Aceptar"), &window);
    layout->addWidget(type);
    layout->addWidget(date);
    layout->addWidget(accept);
    window.show();
    window.activateWindow();
    QApplication::processEvents();
    type->setFocus();
    SendKeys(QStringLiteral("{TAB}"));
    EXPECT_TRUE(date->hasFocus());
    SendKeys(QStringLiteral("{TAB}"));
    EXPECT_EQ(QApplication::focusWidget(), accept);
}

class Scripted : public ::testing::Test
{
protected:
    ScriptedResponder responder;
    ScopedResponder guard{responder};
};

TEST_F(Scripted, AnswersInOrderAndRecordsEveryRequest)
{
    responder.answer(vbRetry).type(QStringLiteral("7")).answer(vbNo);
    EXPECT_EQ(MsgBox(QStringLiteral("Ha ocurrido"), vbAbortRetryIgnore + vbCritical, QStringLiteral("R")), vbRetry);
    EXPECT_EQ(InputBox(QStringLiteral("Cantidad"), QStringLiteral("T"), QStringLiteral("1")), QStringLiteral("7"));
    EXPECT_EQ(MsgBox(QStringLiteral("¿Sigue?"), vbYesNo, QStringLiteral("Atencion")), vbNo);

    ASSERT_EQ(responder.requests().size(), 3u);
    const Request &first = responder.requests()[0];
    EXPECT_EQ(first.kind, Request::Kind::MsgBox);
    EXPECT_EQ(first.title, QStringLiteral("R"));
    EXPECT_EQ(first.buttons, QStringList({"Anular", "Reintentar", "Omitir"}));
    EXPECT_EQ(first.icon, vbCritical);
    const Request &input = responder.requests()[1];
    EXPECT_EQ(input.kind, Request::Kind::InputBox);
    EXPECT_EQ(input.defaultText, QStringLiteral("1"));
    EXPECT_EQ(responder.prompts(), QStringList({"Ha ocurrido", "¿Sigue?"}));
    EXPECT_EQ(responder.unexpected(), 0);
    EXPECT_EQ(responder.pending(), 0);
}

// Every failure is shown, the run time's and any other, and the procedure
// goes on with its next step.
TEST_F(Scripted, ShowingErrorsShowsEachFailureAndGoesOn)
{
    responder.answer(vbOK).answer(vbOK);
    Steps paso = ShowingErrors(QStringLiteral("Aviso al Operador"));
    bool siguio = false;
    paso([] { Raise(vberr::Overflow); });
    paso([] { throw std::runtime_error("roto"); });
    paso([&] { siguio = true; });
    EXPECT_TRUE(siguio);
    EXPECT_FALSE(paso.leaving());
    EXPECT_EQ(responder.prompts(), QStringList({"Desbordamiento", "roto"}));
    for (const Request &r : responder.requests()) {
        EXPECT_EQ(r.title, QStringLiteral("Aviso al Operador"));
        EXPECT_EQ(r.style, vbCritical);
    }
}

TEST_F(Scripted, UnexpectedRequestsNeverBlockAndAreCounted)
{
    struct Case
    {
        int style;
        int answer;
    } cases[] = {{vbOKOnly, vbOK},
                 {vbOKCancel, vbOK},
                 {vbAbortRetryIgnore, vbAbort},
                 {vbYesNo, vbYes},
                 {vbYesNoCancel, vbYes},
                 {vbRetryCancel, vbCancel}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(MsgBox(QStringLiteral("?"), c.style), c.answer);
        EXPECT_TRUE(responder.last().unexpected);
    }
    EXPECT_EQ(InputBox(QStringLiteral("?")), QString());
    QDialog dialog;
    ShowModal(dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(GetOpenFileName(QStringLiteral("Abrir")), QString());
    EXPECT_EQ(responder.unexpected(), int(std::size(cases)) + 3);
}

TEST_F(Scripted, AnswerOfAnotherKindStaysForItsOwnRequest)
{
    responder.type(QStringLiteral("abc"));
    EXPECT_EQ(MsgBox(QStringLiteral("?"), vbOKCancel), vbOK);
    EXPECT_EQ(responder.unexpected(), 1);
    EXPECT_EQ(responder.pending(), 1);
    EXPECT_EQ(InputBox(QStringLiteral("?")), QStringLiteral("abc"));
    EXPECT_EQ(responder.pending(), 0);
}

TEST_F(Scripted, DrivesAModalDialogShownAndHidesItAfter)
{
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("frmAcceso"));
    auto *box = new QLineEdit(&dialog);
    box->setObjectName(QStringLiteral("txtUsuario"));
    bool wasVisible = false;
    responder.drive([&](QDialog &d) {
        wasVisible = d.isVisible();
        d.findChild<QLineEdit *>(QStringLiteral("txtUsuario"))->setText(QStringLiteral("sa"));
    });
    ShowModal(dialog);
    EXPECT_TRUE(wasVisible);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(box->text(), QStringLiteral("sa"));
    EXPECT_EQ(responder.last().kind, Request::Kind::Modal);
    EXPECT_EQ(responder.last().prompt, QStringLiteral("frmAcceso"));
}

TEST(ScopedResponder, RestoresThePreviousResponder)
{
    ScriptedResponder outer, inner;
    {
        ScopedResponder a(outer);
        {
            ScopedResponder b(inner);
            EXPECT_EQ(CurrentResponder(), &inner);
        }
        EXPECT_EQ(CurrentResponder(), &outer);
    }
    EXPECT_EQ(CurrentResponder(), nullptr);
}

} // namespace
