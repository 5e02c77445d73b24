#pragma once

#include <QIcon>
#include <QString>

#include <vector>

namespace ui {

// One image of an image list.
struct ListImage
{
    int Index = 0; // 1-based
    QString Key;
    QString Tag;
    QIcon Picture;
};

// Images addressed by 1-based index, each with a tag; list controls take
// their row icons from it by index.
class ImageList
{
public:
    int Count() const { return int(m_images.size()); }
    // Error 35600 when the index is out of range.
    const ListImage &ListImages(int index) const;
    ListImage &Add(const QIcon &picture, const QString &tag = {}, const QString &key = {});
    void Clear() { m_images.clear(); }

private:
    std::vector<ListImage> m_images;
};

} // namespace ui
