#include "database/progreso.h"

#include "platform/runtime/format.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/units.h"

QString TextoProgreso(const QString &text, double percentage)
{
    return text + QStringLiteral(" ") + vb::Format(percentage, QStringLiteral("###")) + QStringLiteral("%");
}

void MuestraProgreso(ui::PictureBox &picture, const Variant &percentage, std::int32_t colour, const QString &text)
{
    // A percentage that is not a number raises here, before anything is drawn.
    const double pct = percentage.toDouble();
    if (!picture.AutoRedraw())
        picture.setAutoRedraw(true);
    picture.Cls();
    picture.setScaleWidth(100);
    picture.setDrawMode(ui::PictureBox::vbNotXorPen);
    const QString caption = TextoProgreso(text, pct);
    picture.setCurrentX(50 - picture.TextWidth(caption) / 2);
    picture.setCurrentY((picture.ScaleHeight() - picture.TextHeight(caption)) / 2);
    picture.Print(caption);
    picture.LineBoxFilled(0, 0, pct, picture.ScaleHeight(), ui::FromBGR(colour));
    picture.Refresh();
}
