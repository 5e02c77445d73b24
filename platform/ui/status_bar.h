#pragma once

#include <QLabel>
#include <QStatusBar>
#include <QString>

#include <vector>

namespace ui {

// One panel of a status bar: a text and the key it is found by.
class StatusPanel : public QLabel
{
    Q_OBJECT
public:
    explicit StatusPanel(const QString &key, QWidget *parent = nullptr);
    QString Key() const { return m_key; }
    QString Text() const { return text(); }
    void setText(const QString &text) { QLabel::setText(text); }

private:
    QString m_key;
};

// A status bar made of panels, numbered from 1 in the order they were added.
class StatusBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget *parent = nullptr);

    // Adds a panel at the end; returns its index.
    int AddPanel(const QString &Key = {}, const QString &Text = {});
    int Count() const { return int(m_panels.size()); }
    // A panel by index, from 1; an index out of range is error 35600.
    StatusPanel &Panels(int index) const;

private:
    std::vector<StatusPanel *> m_panels;
};

} // namespace ui
