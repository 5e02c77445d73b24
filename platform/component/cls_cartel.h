#pragma once

#include <QPointer>
#include <QString>

class QLabel;
class QWidget;

// A small progress banner: a frameless window with a title and a detail line,
// shown without blocking while a long operation runs.
class ClsCartel
{
public:
    ClsCartel();
    ~ClsCartel();
    ClsCartel(const ClsCartel &) = delete;
    ClsCartel &operator=(const ClsCartel &) = delete;

    // Shows the banner with the text as its title (option 0: plain banner).
    void Muestra(const QString &text, int option = 0);
    // Changes the title and the detail line; shows the banner when hidden.
    void Actualiza(int option, const QString &title, const QString &detail = {});
    // The same with a text line between the title and the detail.
    void Actualiza(int option, const QString &title, const QString &text, const QString &detail);
    // Hides and releases the banner window.
    void Cierra();

    // For callers and tests: whether it is shown, and its current texts.
    bool Visible() const;
    QString Titulo() const;
    QString Texto() const;
    QString Detalle() const;

private:
    void ensureWindow();

    QPointer<QWidget> m_window;
    QLabel *m_title = nullptr;
    QLabel *m_text = nullptr;
    QLabel *m_detail = nullptr;
};
