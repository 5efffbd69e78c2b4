#pragma once

#include <QObject>
#include <optional>

#include "platform/number_locale.h"

class QAction;
class QActionGroup;
class QMenu;

namespace at {

class ProfileChartWidget;

// How the two profiles are shown, chosen from their menus and kept for the session: the
// horizontal axis ("Eje horizontal": puntos, distancia or hora), the same on both, and the mean
// speed in motion as a line across the speed profile (off until chosen). The entries are the
// charts' own actions, so every menu a chart shows offers them; each carries an objectName.
class ProfileViewChoices final : public QObject {
    Q_OBJECT

  public:
    ProfileViewChoices(ProfileChartWidget& altitude, ProfileChartWidget& speed, NumberLocale locale,
                       QWidget* window);
    ~ProfileViewChoices() override;

    // The mean speed in motion of the track on show, in km/h; none without a result or without
    // time in motion.
    void setMeanSpeed(std::optional<double> kmh);

  private:
    void chooseAxis(const QString& name);
    void showMeanLine();

    ProfileChartWidget& altitude_;
    ProfileChartWidget& speed_;
    NumberLocale locale_;
    QMenu* axisMenu_;
    QActionGroup* axisGroup_;
    QAction* meanLine_;
    std::optional<double> meanSpeed_;
};

}  // namespace at
