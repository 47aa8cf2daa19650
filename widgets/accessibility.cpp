#include "widgets/accessibility.h"

#include "widgets/label.h"
#include "widgets/picture.h"

#include <QAccessibleWidget>
#include <QByteArrayView>
#include <QDialog>
#include <QMetaObject>
#include <QString>

#include <algorithm>
#include <utility>

namespace {

// A picture: a push button when it is a button's face; a twin or a plain
// picture reads as a graphic (the window leaves those out of its tree).
// Decided at every call, since the link to the twin is made after the
// picture exists and an interface lives as long as its picture.
class PictureAccessible final : public QAccessibleWidget {
public:
    explicit PictureAccessible(TPicture* picture) : QAccessibleWidget(picture) {}

    QAccessible::Role role() const override
    {
        return picture()->litTwin() ? QAccessible::Button : QAccessible::Graphic;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && picture()->isButton())
            return picture()->buttonName();
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override
    {
        if (!picture()->litTwin())
            return QAccessibleWidget::actionNames();
        return {pressAction(), setFocusAction()};
    }
    void doAction(const QString& action) override
    {
        // Queued: a press may open a modal window, and the caller (a screen
        // reader waiting for its answer) must not wait until that closes.
        if (action == pressAction() && picture()->litTwin())
            QMetaObject::invokeMethod(picture(), &TPicture::press, Qt::QueuedConnection);
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TPicture* picture() const { return static_cast<TPicture*>(object()); }
};

class LabelAccessible final : public QAccessibleWidget {
public:
    explicit LabelAccessible(TAutoLabel* label) : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name)
            return QAccessibleWidget::text(kind);
        const auto* shown = static_cast<const TAutoLabel*>(object());
        return shown->showsAccelChar() ? textAsRead(shown->text()) : shown->text();
    }
};

// What of a window's children the user can see as a control of its own.
bool readsAsControl(const QWidget& window, const QWidget& child)
{
    if (child.isWindow())
        return false;
    if (const auto* picture = qobject_cast<const TPicture*>(&child); picture && !picture->litTwin())
        return false;
    return window.rect().intersects(child.geometry());
}

// A skinned window: its tree holds the controls the user can see, in the
// order the user reads them.
class SkinnedWindowAccessible final : public QAccessibleWidget {
public:
    explicit SkinnedWindowAccessible(QWidget* window)
        : QAccessibleWidget(window, qobject_cast<QDialog*>(window) ? QAccessible::Dialog
                                                                   : QAccessible::Window)
    {
    }

    int childCount() const override { return int(controls().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> shown = controls();
        if (index < 0 || index >= shown.size())
            return nullptr;
        return QAccessible::queryAccessibleInterface(shown.at(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child)
            return -1;
        return int(controls().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> controls() const
    {
        QList<QWidget*> shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child && readsAsControl(*widget(), *child))
                shown.append(child);
        }
        // In reading order, top to bottom and left to right, as Tab goes.
        std::stable_sort(shown.begin(), shown.end(), [](const QWidget* a, const QWidget* b) {
            return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
        });
        return shown;
    }
};

// The windows of the program derive straight from a plain widget or dialog;
// the toolkit's own windows (message boxes among them) keep their interfaces.
bool isSkinnedWindow(QObject* object)
{
    if (!object->isWidgetType() || !static_cast<QWidget*>(object)->isWindow())
        return false;
    const QMetaObject* type = object->metaObject();
    while (type && !QByteArrayView(type->className()).startsWith("Q"))
        type = type->superClass();
    return type && (type == &QWidget::staticMetaObject || type == &QDialog::staticMetaObject);
}

QAccessibleInterface* accessibleInterfaceFor(const QString& className, QObject* object)
{
    // Asked once per class from the most derived one on; answer at the first.
    if (className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto* picture = qobject_cast<TPicture*>(object))
        return new PictureAccessible(picture);
    if (auto* label = qobject_cast<TAutoLabel*>(object))
        return new LabelAccessible(label);
    if (isSkinnedWindow(object))
        return new SkinnedWindowAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

QString textAsRead(const QString& text)
{
    QString read;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        read += text[i];
    }
    return read;
}

void installAccessibleInterfaces()
{
    QAccessible::installFactory(accessibleInterfaceFor);
}
