// One of the tests' interface-builder windows (tests/data/ChoiceControls.nib/<name>.ui),
// loaded with QUiLoader, adopted as a toolkit window and shown off-screen.
#pragma once

#include <HIToolbox/QtBridge.h>

#include <QFile>
#include <QTest>
#include <QUiLoader>
#include <QWidget>

#include <memory>

class UiTestWindow
{
public:
    explicit UiTestWindow(const char *uiName)
    {
        QFile file(QStringLiteral(VELTRA_TEST_DATA_DIR "/ChoiceControls.nib/%1.ui")
                       .arg(QLatin1String(uiName)));
        if (!file.open(QIODevice::ReadOnly))
            return;
        QUiLoader loader;
        widget.reset(loader.load(&file));
        if (!widget)
            return;
        window = VeltraWindowForWidget(widget.get());
        widget->show();
        (void)QTest::qWaitForWindowExposed(widget.get());
    }
    ~UiTestWindow()
    {
        if (window)
            DisposeWindow(window);
    }
    UiTestWindow(const UiTestWindow &) = delete;
    UiTestWindow &operator=(const UiTestWindow &) = delete;

    template <typename T = QWidget> T *Find(const char *name) const
    {
        return widget ? widget->findChild<T *>(QLatin1String(name)) : nullptr;
    }

    std::unique_ptr<QWidget> widget;
    WindowRef window = nullptr;
};
