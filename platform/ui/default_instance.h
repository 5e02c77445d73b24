#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

namespace ui {

// A dialog's single default instance: made on first use, let go by Unload,
// so that the next Get() starts with a fresh dialog. Unload runs the dialog's
// Form_Unload (when it has one) and hides it; the object itself goes once
// control is back in the event loop, so a dialog may unload itself from one
// of its own handlers.
template<class T>
class DefaultInstance
{
public:
    static T &Get()
    {
        QPointer<T> &p = slot();
        if (!p)
            p = new T;
        return *p;
    }

    // True while an instance is made and not unloaded.
    static bool Exists() { return !slot().isNull(); }

    static void Unload()
    {
        QPointer<T> &p = slot();
        if (!p)
            return;
        T *dialog = p.data();
        p.clear();
        if constexpr (requires { dialog->Form_Unload(); })
            dialog->Form_Unload();
        dialog->hide();
        dialog->deleteLater();
    }

private:
    // Not owning: an instance still loaded when the program ends is left to the
    // platform rather than destroyed after the application object.
    static QPointer<T> &slot()
    {
        static QPointer<T> p;
        return p;
    }
};

// Destroys the dialogs unloaded since control last reached the event loop
// (tests, and the end of the program).
inline void DestroyUnloaded()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace ui
