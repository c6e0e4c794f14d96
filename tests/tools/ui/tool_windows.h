#pragma once

#include <QAbstractButton>
#include <QListWidget>
#include <QTest>
#include <QWidget>

#include <utility>
#include <vector>

#include "widgets/program_windows.h"

namespace zeko::testing {

// The program's other windows as the tool windows reach them: only help calls are recorded.
class RecordingWindows final : public ui::NoWindows {
  public:
    void INIT_HELP(int16_t topic, QWidget* owner) override { help.emplace_back(topic, owner); }

    std::vector<std::pair<int16_t, QWidget*>> help;
};

template <class T>
T* child(QWidget& window, const QString& name) {
    return window.findChild<T*>(name);
}

inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks (or double-clicks) the entry of a list that shows this text.
inline void click_entry(QListWidget* list, const QString& text, bool twice = false) {
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) return;
    list->scrollToItem(found.first());
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

inline QStringList entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

}  // namespace zeko::testing
