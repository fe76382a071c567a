#include "app/accessible_names.h"

#include "app/main.h"

#include <QAccessibleWidget>

namespace app {

namespace {

// A picture button reads as a push button whose one action is a left click on it.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {
        addControllingSignal(QStringLiteral("clicked(PictureButton*)"));
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& name) override {
        if (name == pressAction() && widget()->isEnabled())
            static_cast<PictureButton*>(widget())->pressAndRelease();
    }
};

QAccessibleInterface* pictureButtonFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("app::PictureButton") && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    return nullptr;
}

void name(QWidget* widget, const QString& name, const QString& description = {}) {
    if (!widget)
        return;
    widget->setAccessibleName(name);
    if (!description.isEmpty())
        widget->setAccessibleDescription(description);
}

} // namespace

void nameMainWindowControls(TForm1& form) {
    installPictureButtonAccessibility();
    name(&form, QStringLiteral("Yomirin！ ビギナー編"));
    name(form.img_left, QStringLiteral("前へ"), QStringLiteral("F1"));
    name(form.img_right, QStringLiteral("次へ"), QStringLiteral("F2"));
    name(form.img_start, QStringLiteral("START"), QStringLiteral("F3"));
    name(form.img_giveup, QStringLiteral("GIVE UP"), QStringLiteral("F4"));
    name(form.img_repeat, QStringLiteral("REPEAT"), QStringLiteral("F5"));
    name(form.img_check, QStringLiteral("Check"));
    name(form.img_delete, QStringLiteral("Delete"));
    name(form.img_setting, QStringLiteral("Setting"));
    name(form.img_exit, QStringLiteral("Exit"));
    const QString tab = QStringLiteral("モード");
    name(form.Lbl_gakusyuu, QStringLiteral("学習"), tab);
    name(form.Lbl_testgakusyuu, QStringLiteral("テスト学習"), tab);
    name(form.Lbl_test, QStringLiteral("テスト"), tab);
    name(form.Lbl_seiseki, QStringLiteral("成績"), tab);
    name(form.btn_s_up, QStringLiteral("ステップを上げる"));
    name(form.btn_s_down, QStringLiteral("ステップを下げる"));
    name(form.btn_c_up, QStringLiteral("チャプターを上げる"));
    name(form.btn_c_down, QStringLiteral("チャプターを下げる"));
    name(form.Edit1, QStringLiteral("解答"));
}

void nameChildWindows(QWidget* messageWindow, QWidget* resultsWindow, QWidget* settingsWindow,
                      QWidget* splash) {
    name(messageWindow, QStringLiteral("メッセージ"));
    name(resultsWindow, QStringLiteral("成績"));
    name(settingsWindow, QStringLiteral("Setting"));
    name(splash, QStringLiteral("Yomirin！ ビギナー編 起動中"));
}

void installPictureButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(pictureButtonFactory);
        return true;
    }();
    (void)installed;
}

} // namespace app
