#include "platform/ui/image_list.h"

#include "platform/runtime/vberror.h"

namespace ui {

const ListImage &ImageList::ListImages(int index) const
{
    if (index < 1 || index > Count())
        Raise(vberr::IndexOutOfBounds);
    return m_images[std::size_t(index - 1)];
}

ListImage &ImageList::Add(const QIcon &picture, const QString &tag, const QString &key)
{
    m_images.push_back({Count() + 1, key, tag, picture});
    return m_images.back();
}

} // namespace ui
