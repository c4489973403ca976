// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/WindowAccessible.h"

#include "app/DrawnAccessible.h"
#include "app/MainDialog.h"
#include "app/ReaderWords.h"

#include <QAccessibleEvent>
#include <QMetaObject>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The status bar's band on the title (under the buttons) and in play (the time's line).
constexpr int StatusLineHeight = 20;
// The hint's lines lie within this of the field's middle.
constexpr int HintHalfHeight = 30;

QRect OnScreen(const QWidget& widget, const Rect& rect)
{
    return {widget.mapToGlobal(QPoint(rect.left, rect.top)), QSize(rect.Width(), rect.Height())};
}

// Pixels from the edge of an obstacle, taken as the circle its box holds, to a point; 0 inside.
double Gap(const Rect& box, Point point)
{
    const double radius = std::min(box.Width(), box.Height()) / 2.0;
    const double dx = point.x - (box.left + box.right) / 2.0;
    const double dy = point.y - (box.top + box.bottom) / 2.0;
    return std::max(0.0, std::hypot(dx, dy) - radius);
}

} // namespace

WindowAccessible::WindowAccessible(MainDialog& dialog)
    // A main window, not a dialog: Orca names every ancestor dialog before a notification.
    : QAccessibleWidget(&dialog, QAccessible::Window)
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
    if (!self || text.isEmpty())
        return;
    const int number = self->nextNotice++;
    self->notices.emplace_back(number, text);
    QAccessibleEvent shown(self->PartFor(Notice, number), QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
    while (self->notices.size() > KeptNotices) {
        const auto found = self->parts.find({Notice, self->notices.front().first});
        if (found != self->parts.end()) {
            QAccessible::deleteAccessibleInterface(found->second);
            self->parts.erase(found);
        }
        self->notices.pop_front();
    }
}

void WindowAccessible::FocusMoved(MainDialog& dialog)
{
    WindowAccessible* self = Of(dialog);
    if (!self)
        return;
    QAccessibleEvent reorder(self, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
    const auto [part, place] = self->Focused();
    QAccessibleEvent focus(self->PartFor(part, place), QAccessible::Focus);
    QAccessible::updateAccessibility(&focus);
}

void WindowAccessible::WindowActivated(MainDialog& dialog)
{
    // Queued: Qt tells the reader of the activation itself, and a focus told before it is lost.
    QMetaObject::invokeMethod(
        &dialog, [&dialog] { FocusMoved(dialog); }, Qt::QueuedConnection);
}

void WindowAccessible::Heard(MainDialog& dialog, GameEvent event, int value)
{
    switch (event) {
    case GameEvent::Swallow:
    case GameEvent::WeightLost: Announce(dialog, ReaderWords::WeightsGone(event, value)); break;
    case GameEvent::GameOver:
    case GameEvent::NewRecord: {
        Announce(dialog, ReaderWords::GameOver(dialog.GetScoreBoard().LastGameLine(), value));
        break;
    }
    default: break;
    }
}

void WindowAccessible::KeyStepTaken(MainDialog& dialog, PlayInput::KeyStep step)
{
    WindowAccessible* self = Of(dialog);
    if (!self)
        return;
    const GameScreen& screen = dialog.GetGameScreen();
    Announce(dialog, ReaderWords::Step(step, screen.crosshair, screen.areaRect, self->RopeLength()));
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
    case View::Play: return {Field, Status};
    case View::Records: return {Records, Status};
    case View::Title: break;
    }
    std::vector<int> shown{Title};
    for (const TitleButtonRow& row : TitleButtons)
        shown.push_back(PartOf(row.button));
    shown.push_back(Status);
    return shown;
}

std::pair<int, int> WindowAccessible::Focused() const
{
    const GameScreen& screen = Dialog().GetGameScreen();
    switch (CurrentView()) {
    case View::Play: return {Field, 0};
    case View::Records: return {Row, screen.GetSelectedRecord()};
    case View::Title: break;
    }
    return {PartOf(screen.focusedButton), 0};
}

// The window's description is the title's status line, which Orca says as the window opens.
QString WindowAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Description && CurrentView() == View::Title)
        return StatusText();
    return QAccessibleWidget::text(t);
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
    if (!drawn || drawn->Part() == Row || drawn->Part() == Hint || drawn->Part() == Notice)
        return -1;
    const std::vector<int> shown = Shown();
    const auto found = std::find(shown.begin(), shown.end(), drawn->Part());
    return found == shown.end() ? -1 : static_cast<int>(found - shown.begin());
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
    const auto [part, place] = Focused();
    return PartFor(part, place);
}

QAccessibleInterface* WindowAccessible::PartFor(int part, int place) const
{
    const auto found = parts.find({part, place});
    if (found != parts.end())
        return QAccessible::accessibleInterface(found->second);
    auto* drawn = new DrawnAccessible(const_cast<WindowAccessible&>(*this), part, place);
    parts[{part, place}] = QAccessible::registerAccessibleInterface(drawn);
    return drawn;
}

std::vector<std::pair<int, int>> WindowAccessible::PartChildren(int part) const
{
    std::vector<std::pair<int, int>> children;
    if (part == Records) {
        for (int place = 0; place < RowCount; ++place)
            children.emplace_back(Row, place);
    } else if (part == Field && Dialog().GetGameScreen().IsHintShown()) {
        children.emplace_back(Hint, 0);
    }
    return children;
}

QString WindowAccessible::PartText(int part, int place, QAccessible::Text t) const
{
    const GameScreen& screen = Dialog().GetGameScreen();
    if (t == QAccessible::Description) {
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
    case Status: return StatusText();
    case Records: return tr("記録");
    case Hint: return QString::fromStdString(GameScreen::GetHintText()).trimmed().replace('\n', ' ');
    case Row: {
        const RecordRow& row = screen.GetRecords()[static_cast<std::size_t>(place)];
        return ReaderWords::RowSentence(place, row, place == screen.GetMarkedRecord());
    }
    case Notice: {
        const auto found = std::find_if(notices.begin(), notices.end(),
                                        [place](const auto& notice) { return notice.first == place; });
        return found == notices.end() ? QString() : found->second;
    }
    default: return tr("フィールド");
    }
}

QString WindowAccessible::StatusText() const
{
    const GameScreen& screen = Dialog().GetGameScreen();
    switch (CurrentView()) {
    case View::Play: return QString::fromStdString(screen.GetStatusText());
    case View::Records: return ReaderWords::RecordsBack();
    case View::Title: break;
    }
    return ReaderWords::TitleStatus(screen.GetRecords()[0].time,
                                    QString::fromStdString(screen.GetTitleStatusText()),
                                    QString::fromStdString(screen.GetTitleResultText()));
}

// Read the way the painting reads them: each swing and shadow held while it is looked at.
QString WindowAccessible::FieldDescription() const
{
    GameScreen& screen = Dialog().GetGameScreen();
    World& world = screen.GetWorld();
    ReaderWords::FieldState state;
    state.time = QString::fromStdString(screen.GetStatusText());
    state.shadows = world.GetObstacleCount();
    std::vector<Rect> shadows;
    for (int i = 0; i < state.shadows; ++i) {
        if (const std::shared_ptr<GameObject> shadow = world.obstacles.GetAt(i))
            shadows.push_back(shadow->GetRect());
    }
    double nearest = std::numeric_limits<double>::infinity();
    for (int i = 0; i < world.GetSwingCount(); ++i) {
        const std::shared_ptr<Swing> swing = world.swings.GetAt(i);
        if (!swing || !swing->alive)
            continue;
        if (swing->IsActive())
            ++state.swinging;
        else if (world.dragging && i == world.currentSwingIndex)
            ++state.carried;
        else
            continue;
        for (const Rect& box : shadows)
            nearest = std::min(nearest, Gap(box, swing->GetPoint()));
    }
    if (std::isfinite(nearest))
        state.nearestShadow = static_cast<int>(std::lround(nearest));
    return ReaderWords::Field(state);
}

int WindowAccessible::RopeLength() const
{
    World& world = Dialog().GetGameScreen().GetWorld();
    const std::shared_ptr<Swing> swing = world.swings.GetAt(world.currentSwingIndex);
    if (!swing)
        return 0;
    if (swing->IsActive())
        return swing->ropeLength;
    return static_cast<int>(std::lround(swing->Distance(swing->anchorX, swing->anchorY)));
}

QRect WindowAccessible::PartRect(int part, int place) const
{
    const Screen& screen = Dialog().GetGameScreen();
    const Rect& area = screen.areaRect;
    if (IsButton(part))
        return OnScreen(Dialog(), screen.GetButtonRect(ButtonOf(part)));
    switch (part) {
    case Title: return OnScreen(Dialog(), screen.titleRect);
    case Status:
    case Notice:
        if (CurrentView() == View::Title)
            return OnScreen(Dialog(), Rect{area.left, screen.GetButtonRect(TitleButton::Exit).bottom,
                                           area.right, area.bottom});
        return OnScreen(Dialog(), Rect{area.left, area.top, area.right, area.top + StatusLineHeight});
    case Records: {
        const Rect first = screen.GetRecordRect(0);
        return OnScreen(Dialog(),
                        Rect{first.left, first.top, first.right, screen.GetRecordRect(RowCount).top});
    }
    case Row: return OnScreen(Dialog(), screen.GetRecordRect(place));
    case Hint: {
        const int middle = (area.top + area.bottom) / 2;
        return OnScreen(Dialog(),
                        Rect{area.left, middle - HintHalfHeight, area.right, middle + HintHalfHeight});
    }
    default: return OnScreen(Dialog(), area);
    }
}

QAccessible::Role WindowAccessible::PartRole(int part)
{
    if (IsButton(part))
        return QAccessible::PushButton;
    switch (part) {
    case Status: return QAccessible::StatusBar;
    case Records: return QAccessible::List;
    case Row: return QAccessible::ListItem;
    case Field: return QAccessible::Canvas;
    case Notice: return QAccessible::Notification;
    default: return QAccessible::StaticText;
    }
}

QAccessible::State WindowAccessible::PartState(int part, int place) const
{
    QAccessible::State state;
    const QAccessible::Role role = PartRole(part);
    state.focusable =
        role == QAccessible::PushButton || role == QAccessible::Canvas || role == QAccessible::ListItem;
    state.focused = Focused() == std::pair{part, place} && Dialog().isActiveWindow();
    state.readOnly = !state.focusable;
    if (role == QAccessible::ListItem) {
        state.selectable = true;
        state.selected = place == Dialog().GetGameScreen().GetSelectedRecord();
    }
    return state;
}

void WindowAccessible::Press(int part)
{
    if (IsButton(part))
        Dialog().PressTitleButton(ButtonOf(part));
}
