#include "app/profile_view_choices.h"

#include <QActionGroup>
#include <QMenu>

#include "charts/moving_speed.h"
#include "charts/profile_axis.h"
#include "charts/profile_chart_widget.h"

namespace at {

ProfileViewChoices::ProfileViewChoices(ProfileChartWidget& altitude, ProfileChartWidget& speed,
                                       NumberLocale locale, QWidget* window)
    : QObject(window), altitude_(altitude), speed_(speed), locale_(std::move(locale)) {
    axisMenu_ = new QMenu(QStringLiteral("Eje horizontal"), window);
    axisMenu_->setObjectName(QStringLiteral("mnuEje"));
    axisGroup_ = new QActionGroup(axisMenu_);
    const struct {
        AxisMode mode;
        const char* objectName;
    } entries[] = {{AxisMode::Points, "mnuEjePuntos"},
                   {AxisMode::Distance, "mnuEjeDistancia"},
                   {AxisMode::Time, "mnuEjeHora"}};
    for (const auto& entry : entries) {
        const std::string_view name = axisModeName(entry.mode);
        const QString text = QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
        QAction* action = axisMenu_->addAction(text);
        action->setObjectName(QString::fromLatin1(entry.objectName));
        action->setCheckable(true);
        action->setChecked(entry.mode == AxisMode::Points);
        action->setData(text);
        axisGroup_->addAction(action);
    }
    connect(axisGroup_, &QActionGroup::triggered, this,
            [this](QAction* action) { chooseAxis(action->data().toString()); });
    // "hora" only for a track whose time moves.
    connect(axisMenu_, &QMenu::aboutToShow, this, [this] {
        for (QAction* action : axisGroup_->actions()) {
            if (action->data().toString() == QStringLiteral("hora"))
                action->setEnabled(altitude_.hasTimeAxis());
        }
    });

    meanLine_ = new QAction(QStringLiteral("Velocidad media en movimiento"), this);
    meanLine_->setObjectName(QStringLiteral("mnuVelocidadMedia"));
    meanLine_->setCheckable(true);
    connect(meanLine_, &QAction::toggled, this, &ProfileViewChoices::showMeanLine);

    for (ProfileChartWidget* chart : {&altitude_, &speed_}) {
        chart->addAction(axisMenu_->menuAction());
        // A choice made on one chart, from its menu or by a caller of the chart, holds for both.
        connect(chart, &ProfileChartWidget::horizontalAxisChanged, this,
                &ProfileViewChoices::chooseAxis);
    }
    speed_.addAction(meanLine_);
}

ProfileViewChoices::~ProfileViewChoices() = default;

void ProfileViewChoices::chooseAxis(const QString& name) {
    for (QAction* action : axisGroup_->actions())
        action->setChecked(action->data().toString() == name);
    altitude_.setHorizontalAxis(name);
    speed_.setHorizontalAxis(name);
}

void ProfileViewChoices::setMeanSpeed(std::optional<double> kmh) {
    meanSpeed_ = kmh;
    showMeanLine();
}

void ProfileViewChoices::showMeanLine() {
    if (!meanLine_->isChecked() || !meanSpeed_) {
        speed_.setMeanLine(std::nullopt, QString());
        return;
    }
    speed_.setMeanLine(*meanSpeed_, QString::fromStdString(meanSpeedCaption(*meanSpeed_, locale_)));
}

}  // namespace at
