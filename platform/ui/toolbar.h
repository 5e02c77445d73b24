#pragma once

#include <QString>
#include <QToolBar>

#include <vector>

class QAction;

namespace ui {

class ImageList;

// A toolbar whose buttons are told apart by their index (from 1), each with
// its tooltip and an image of the toolbar's image list. A click raises
// ButtonClick with the button's index. The buttons never take the focus, so
// an edit under way in the window stays where it is.
class Toolbar : public QToolBar
{
    Q_OBJECT
public:
    explicit Toolbar(QWidget *parent = nullptr);

    QString Name() const { return objectName(); }
    void setName(const QString &name) { setObjectName(name); }

    // The list the buttons take their images from (not owned).
    void setImageList(const ImageList *images) { m_images = images; }
    const ImageList *imageList() const { return m_images; }

    // Adds a button at the end; Image is an index of the image list (0: none).
    // Returns the new button's index.
    int AddButton(const QString &ToolTipText, int Image = 0, const QString &Key = {});
    int ButtonCount() const { return int(m_buttons.size()); }
    // A button by index; an index out of range is error 35600.
    QString ToolTipText(int index) const;
    QString Key(int index) const;
    bool ButtonEnabled(int index) const;
    void setButtonEnabled(int index, bool enabled);
    // The button's action (tests click its widget).
    QAction *Button(int index) const;

signals:
    void ButtonClick(int Index);

private:
    struct Boton
    {
        QAction *action = nullptr;
        QString key;
    };
    const Boton &boton(int index) const;

    const ImageList *m_images = nullptr;
    std::vector<Boton> m_buttons;
};

} // namespace ui
