// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/WindowAccessible.h"

#include "app/DrawnAccessible.h"
#include "app/MainDialog.h"
#include "base/SecondsText.h"

#include <QAccessibleEvent>

#include <algorithm>

namespace {

// A reader hears of the weights swallowed no more often than this.
constexpr qint64 SwallowMessageMs = 1000;

QRect OnScreen(const QWidget& widget, const Rect& rect)
{
    return {widget.mapToGlobal(QPoint(rect.left, rect.top)), QSize(rect.Width(), rect.Height())};
}

} // namespace

WindowAccessible::WindowAccessible(MainDialog& dialog)
    : QAccessibleWidget(&dialog, QAccessible::Dialog)
{
}

WindowAccessible::~WindowAccessible()
{
    for (const auto& [key, id] : parts)
        QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* WindowAccessible::Factory(const QString& key, QObject* object)
{
    auto* dialog = qobject_cast<MainDialog*>(object);
    return key == QLatin1String("MainDialog") && dialog ? new WindowAccessible(*dialog) : nullptr;
}

WindowAccessible* WindowAccessible::Of(MainDialog& dialog)
{
    if (!QAccessible::isActive())
        return nullptr;
    return dynamic_cast<WindowAccessible*>(QAccessible::queryAccessibleInterface(&dialog));
}

void WindowAccessible::Announce(MainDialog& dialog, const QString& text)
{
    WindowAccessible* self = Of(dialog);
    if (!self)
        return;
    self->announcedPart = self->FocusedPart();
    self->announcement = text;
    QAccessibleEvent event(self->PartFor(self->announcedPart), QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void WindowAccessible::AnnounceRow(MainDialog& dialog, int place)
{
    if (WindowAccessible* self = Of(dialog))
        Announce(dialog, self->RowSentence(place));
}

void WindowAccessible::FocusMoved(MainDialog& dialog)
{
    WindowAccessible* self = Of(dialog);
    if (!self)
        return;
    self->announcedPart = -1;
    self->lastView = self->CurrentView();
    self->lastWeights = 0;
    QAccessibleEvent reorder(self, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
    QAccessibleEvent focus(self->PartFor(self->FocusedPart()), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void WindowAccessible::Follow(MainDialog& dialog)
{
    WindowAccessible* self = Of(dialog);
    if (!self)
        return;
    if (self->CurrentView() != self->lastView) {
        FocusMoved(dialog);
        return;
    }
    if (self->lastView != View::Play)
        return;
    const int weights = self->WeightsInPlay();
    if (weights > self->lastWeights) {
        self->lastWeights = weights;
    } else if (weights < self->lastWeights
               && (!self->lastSwallow.isValid() || self->lastSwallow.hasExpired(SwallowMessageMs))) {
        self->lastWeights = weights;
        self->lastSwallow.start();
        Announce(dialog, tr("おもりが消えた　残り%1個").arg(weights));
    }
}

MainDialog& WindowAccessible::Dialog() const
{
    return *static_cast<MainDialog*>(widget());
}

WindowAccessible::View WindowAccessible::CurrentView() const
{
    const GameScreen& screen = Dialog().GetGameScreen();
    if (screen.IsPlaying())
        return View::Play;
    return screen.IsShowingRecords() ? View::Records : View::Title;
}

std::vector<int> WindowAccessible::Shown() const
{
    switch (CurrentView()) {
    case View::Play: return {Field};
    case View::Records: return {Records};
    case View::Title: break;
    }
    std::vector<int> shown{Title};
    for (const TitleButtonRow& row : TitleButtons)
        shown.push_back(PartOf(row.button));
    shown.push_back(BestTime);
    if (!Dialog().GetGameScreen().GetTitleResultText().empty())
        shown.push_back(GameTime);
    return shown;
}

int WindowAccessible::FocusedPart() const
{
    switch (CurrentView()) {
    case View::Play: return Field;
    case View::Records: return Records;
    case View::Title: break;
    }
    return PartOf(Dialog().GetGameScreen().focusedButton);
}

int WindowAccessible::childCount() const
{
    return static_cast<int>(Shown().size());
}

QAccessibleInterface* WindowAccessible::child(int index) const
{
    const std::vector<int> shown = Shown();
    return index >= 0 && index < static_cast<int>(shown.size())
               ? PartFor(shown[static_cast<std::size_t>(index)])
               : nullptr;
}

int WindowAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    const auto* drawn = dynamic_cast<const DrawnAccessible*>(child);
    const std::vector<int> shown = Shown();
    const auto found = drawn ? std::find(shown.begin(), shown.end(), drawn->Part()) : shown.end();
    return found == shown.end() || drawn->Part() == Row ? -1 : static_cast<int>(found - shown.begin());
}

QAccessibleInterface* WindowAccessible::childAt(int x, int y) const
{
    for (const int part : Shown()) {
        if (PartRect(part, 0).contains(x, y))
            return PartFor(part);
    }
    return nullptr;
}

QAccessibleInterface* WindowAccessible::focusChild() const
{
    return PartFor(FocusedPart());
}

QAccessibleInterface* WindowAccessible::PartFor(int part, int place) const
{
    const int key = part * (RowCount + 1) + place;
    const auto found = parts.find(key);
    if (found != parts.end())
        return QAccessible::accessibleInterface(found->second);
    auto* drawn = new DrawnAccessible(const_cast<WindowAccessible&>(*this), part, place);
    parts[key] = QAccessible::registerAccessibleInterface(drawn);
    return drawn;
}

QString WindowAccessible::PartText(int part, int place, QAccessible::Text t) const
{
    const GameScreen& screen = Dialog().GetGameScreen();
    if (t == QAccessible::Description) {
        if (part == announcedPart)
            return announcement;
        if (IsButton(part))
            return tr(RowOf(ButtonOf(part)).description);
        return part == Field ? FieldDescription() : QString();
    }
    if (t != QAccessible::Name)
        return {};
    if (IsButton(part))
        return QString::fromUtf8(RowOf(ButtonOf(part)).caption);
    switch (part) {
    case Title: return QString::fromStdString(screen.GetTitleText());
    case BestTime: return QString::fromStdString(screen.GetTitleStatusText());
    case GameTime: return QString::fromStdString(screen.GetTitleResultText());
    case Records: return tr("記録");
    case Row: return RowSentence(place);
    default: return tr("フィールド");
    }
}

QString WindowAccessible::RowSentence(int place) const
{
    const Screen& screen = Dialog().GetGameScreen();
    const RecordRow& row = screen.GetRecords()[static_cast<std::size_t>(place)];
    if (row.time == 0.0)
        return tr("%1位：空き").arg(place + 1);
    QString sentence = tr("%1位：%2秒、おもり%3個")
                           .arg(place + 1)
                           .arg(QString::fromStdString(FormatSeconds(row.time)))
                           .arg(row.score);
    if (place == screen.GetMarkedRecord())
        sentence += tr("、今回の最後のゲーム");
    if (row.replay)
        sentence += tr("、リプレイあり");
    return sentence;
}

QString WindowAccessible::FieldDescription() const
{
    return tr("%1　揺れているおもり%2個、影%3個")
        .arg(QString::fromStdString(Dialog().GetGameScreen().GetStatusText()))
        .arg(WeightsInPlay())
        .arg(Dialog().GetGameScreen().GetWorld().GetObstacleCount());
}

// Read the way the painting reads them: each swing held while it is looked at.
int WindowAccessible::WeightsInPlay() const
{
    const World& world = Dialog().GetGameScreen().GetWorld();
    int weights = 0;
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
        if (swing && swing->alive && swing->IsActive())
            ++weights;
    }
    return weights;
}

QRect WindowAccessible::PartRect(int part, int place) const
{
    const Screen& screen = Dialog().GetGameScreen();
    const Rect& area = screen.areaRect;
    if (IsButton(part))
        return OnScreen(Dialog(), screen.GetButtonRect(ButtonOf(part)));
    switch (part) {
    case Title: return OnScreen(Dialog(), screen.titleRect);
    case BestTime:
    case GameTime: {
        const int top = screen.GetButtonRect(TitleButton::Exit).bottom;
        return OnScreen(Dialog(), Rect{area.left, top, area.right, area.bottom});
    }
    case Records: {
        const Rect first = screen.GetRecordRect(0);
        return OnScreen(Dialog(),
                        Rect{first.left, first.top, first.right, screen.GetRecordRect(RowCount).top});
    }
    case Row: return OnScreen(Dialog(), screen.GetRecordRect(place));
    default: return OnScreen(Dialog(), area);
    }
}

QAccessible::Role WindowAccessible::PartRole(int part)
{
    if (IsButton(part))
        return QAccessible::PushButton;
    switch (part) {
    case Records: return QAccessible::List;
    case Row: return QAccessible::ListItem;
    case Field: return QAccessible::Canvas;
    default: return QAccessible::StaticText;
    }
}

QAccessible::State WindowAccessible::PartState(int part) const
{
    QAccessible::State state;
    state.focusable = PartRole(part) != QAccessible::StaticText && part != Row;
    state.focused = part == FocusedPart() && Dialog().isActiveWindow();
    state.readOnly = PartRole(part) == QAccessible::StaticText;
    return state;
}

void WindowAccessible::Press(int part)
{
    if (IsButton(part))
        Dialog().PressTitleButton(ButtonOf(part));
}
