#include "screenshots/ui/snapshots.h"

#include <QCoreApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

#include <span>
#include <utility>

namespace zeko::ui {

namespace {

constexpr const char* kShownPalette = "zeko_shown_palette";

}  // namespace

void set_list_text_hidden(QWidget* list, bool hidden) {
    if (list == nullptr) return;
    if (hidden) {
        if (!list->property(kShownPalette).isValid())
            list->setProperty(kShownPalette, QVariant::fromValue(list->palette()));
        QPalette p = list->palette();
        // The selected entry too: its text takes the selection's own colour.
        for (QPalette::ColorGroup group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::Text, p.color(group, QPalette::Base));
            p.setColor(group, QPalette::HighlightedText, p.color(group, QPalette::Highlight));
        }
        list->setPalette(p);
    } else {
        const QVariant shown = list->property(kShownPalette);
        if (!shown.isValid()) return;
        list->setPalette(shown.value<QPalette>());
        list->setProperty(kShownPalette, QVariant());
    }
    list->update();
}

Snapshots::Snapshots(ProgramState& state, QWidget* main_window, HideListText hide_list_text)
    : code_(state), main_window_(main_window), hide_list_text_(std::move(hide_list_text)) {}

ShotResult Snapshots::SNAPSHOT_BMP() {
    if (hide_list_text_) hide_list_text_(true);
    QCoreApplication::processEvents();
    QImage picture;
    if (main_window_ != nullptr)
        picture = main_window_->grab().toImage().convertToFormat(QImage::Format_RGB888);
    QCoreApplication::processEvents();
    if (hide_list_text_) hide_list_text_(false);

    const std::span<const uint8_t> rgb(picture.constBits(),
                                       static_cast<size_t>(picture.sizeInBytes()));
    ShotResult result = code_.save_snapshot(picture.width(), picture.height(), rgb,
                                            static_cast<size_t>(picture.bytesPerLine()));
    QCoreApplication::processEvents();
    return result;
}

}  // namespace zeko::ui
