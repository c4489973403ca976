// SPDX-FileCopyrightText: 2026 The Tocklet developers
// SPDX-License-Identifier: MIT

#include "app/AboutDialog.h"

#include "app/DialogUnits.h"
#include "app/Program.h"
#include "render/GameScreen.h"

#include <QFont>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr char VersionText[] = "Tocklet Version 1.0";

// "ＭＳ Ｐゴシック" at 9 points, as pixels at 96 dpi.
constexpr char FontFamily[] = "IPAPGothic";
constexpr int FontPixelSize = 96 * 90 / 720;

constexpr int IconSize = 32;

QLabel* AddText(QWidget* parent, const char* name, const QString& text, const QRect& rect)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
    setWindowTitle(tr("Tockletのﾊﾞｰｼﾞｮﾝ情報"));
    setModal(true);
    QFont font(FontFamily);
    font.setPixelSize(FontPixelSize);
    setFont(font);
    setFixedSize(DialogUnitsToPixelsX(235), DialogUnitsToPixelsY(55));

    // A static icon control takes the size of its icon at its top-left corner.
    auto* icon = new QLabel(this);
    icon->setObjectName("icon");
    const QRect iconCell = DialogUnitsToRect(11, 17, 20, 20);
    icon->setGeometry(QRect(iconCell.topLeft(), QSize(IconSize, IconSize)));
    icon->setPixmap(LoadMainIcon().pixmap(QSize(IconSize, IconSize), devicePixelRatioF()));

    AddText(this, "version", VersionText, DialogUnitsToRect(40, 10, 119, 8));
    AddText(this, "notice", tr("ドラッグでおもりを揺らそう"), DialogUnitsToRect(40, 25, 119, 8));
    AddText(this, "keys", tr("M:サウンド オン/オフ"), DialogUnitsToRect(40, 37, 119, 8));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setGeometry(DialogUnitsToRect(178, 7, 50, 14));
    ok->setDefault(true);
    // The whole hint of the field, for a screen reader that shows the box with its focus.
    ok->setAccessibleDescription(
        QString::fromStdString(GameScreen::GetHintText()).trimmed().replace('\n', ' '));
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
