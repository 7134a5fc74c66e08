#include "presenterprefs.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "widgets/colorbtn.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace {
QString translated(const char *strText)
{
    return Lang::tr("Preferences", QLatin1String(strText));
}
} // namespace

PresenterPrefs::PresenterPrefs(QWidget *pParent)
    : QGroupBox(pParent)
{
    setObjectName(QStringLiteral("presenterPrefs"));
    auto *grid = new QGridLayout(this);
    laserColourLabel = new QLabel(this);
    laserColour = new ColorBtn(QString(), this);
    laserColour->setObjectName(QStringLiteral("laserColour"));
    laserColourLabel->setBuddy(laserColour);
    grid->addWidget(laserColourLabel, 0, 0, Qt::AlignRight);
    grid->addWidget(laserColour, 0, 1, Qt::AlignLeft);
    laserSize = addSpinBox(1, laserSizeLabel, 4, 64);
    fadeSeconds = addSpinBox(2, fadeSecondsLabel, 1, 30);
    darkness = addSpinBox(3, darknessLabel, 10, 95);
    darkness->setSingleStep(5);
    showSettings();
    PresenterSettings &s = AppState::instance().presenter;
    connect(laserColour, &ColorBtn::signal_Color, this,
            [&s](const QColor &colour) { s.laserColor = colour; });
    connect(laserSize, &QSpinBox::valueChanged, this, [&s](int value) { s.laserSize = value; });
    connect(fadeSeconds, &QSpinBox::valueChanged, this, [&s](int value) { s.fadeSeconds = value; });
    connect(darkness, &QSpinBox::valueChanged, this,
            [&s](int value) { s.spotlightOpacity = value; });
    slot_UpdateLang();
}

QSpinBox *PresenterPrefs::addSpinBox(int iRow, QLabel *&pLabel, int iMinimum, int iMaximum)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    pLabel = new QLabel(this);
    auto *box = new QSpinBox(this);
    box->setRange(iMinimum, iMaximum);
    grid->addWidget(pLabel, iRow, 0, Qt::AlignRight);
    grid->addWidget(box, iRow, 1);
    return box;
}

void PresenterPrefs::showSettings()
{
    const PresenterSettings &s = AppState::instance().presenter;
    laserColour->setColor(s.laserColor);
    laserSize->setValue(s.laserSize);
    fadeSeconds->setValue(s.fadeSeconds);
    darkness->setValue(s.spotlightOpacity);
}

void PresenterPrefs::restoreDefaults()
{
    const PresenterSettings &d = AppState::defaults().presenter;
    PresenterSettings &s = AppState::instance().presenter;
    s.laserColor = d.laserColor;
    s.laserSize = d.laserSize;
    s.fadeSeconds = d.fadeSeconds;
    s.spotlightOpacity = d.spotlightOpacity;
    s.spotlightRadius = d.spotlightRadius;
    showSettings();
}

void PresenterPrefs::slot_UpdateLang()
{
    setTitle(translated("Presenter Tools"));
    laserColourLabel->setText(translated("Laser Pointer Color:"));
    laserSizeLabel->setText(translated("Laser Pointer Size:"));
    laserSize->setSuffix(QStringLiteral("  ") + translated("pixels"));
    fadeSecondsLabel->setText(translated("Fading Ink Lasts:"));
    fadeSeconds->setSuffix(QStringLiteral("  ") + translated("seconds"));
    darknessLabel->setText(translated("Spotlight Darkness:"));
    darkness->setSuffix(QStringLiteral(" %"));
    Lang::release();
}
