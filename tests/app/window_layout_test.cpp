#include <QApplication>
#include <QFontInfo>
#include <QImage>

#include "app/window_look.h"
#include "tests/app/window_fixture.h"

namespace at::test {
namespace {

using WindowLayout = WindowTest;

TEST_F(WindowLayout, StartsWithTheDefaultTexts) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"txtArchivo", "-vacio-"},
        {"Text1", "20"},
        {"Text2", "1"},
        {"Text3", "10"},
        {"Combo1", ""},
        {"cmdCargar", "Cargar"},
        {"cmdCortar", "Cortar"},
        {"Command1", ""},
        {"lblKm", "Km seleccionado"},
        {"Label2", "Diferencia entre alturas despreciables:"},
        {"Label5", "Saltos de más de "},
        {"Label7", "min"},
        {"Label6", "segs, son tomados como descansos."},
        {"lbldesnivel", "Desnivel acumulado:"},
        {"lbldistancia", "Distancia:"},
        {"lblcota1", "Cota Min:"},
        {"lblvel1", "Velocidad Min:"},
        {"lbltomas", "Tomas despreciadas:"},
        {"Label9", "Número de paradas:"},
        {"lblcota2", "Cota Máx:"},
        {"lblvel2", "Velocidad Máx:"},
        {"Label1", "Tiempo:"},
        {"Label11", "t en paradas:"},
        {"Label13", "t en ruta:"},
        {"Label12", "Paradas"},
        {"Label3", "Velocidad"},
        {"Label4", "Altitud"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text(c.name), QString::fromUtf8(c.text)) << c.name;

    for (const char* value : {"lbl1", "lbl2", "lbl3", "lbl4", "lbl5", "lbl6", "lbl7", "lblTiempo",
                              "Label8", "Label10", "Label14"}) {
        EXPECT_EQ(text(value), QString()) << value;
    }
    EXPECT_EQ(control<QListWidget>("lstParada")->count(), 0);
}

TEST_F(WindowLayout, Combo1OffersFourSizesAndHoldsNone) {
    auto* combo = control<QComboBox>("Combo1");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_FALSE(combo->isEditable());
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    EXPECT_EQ(items, QStringList({"250", "500", "750", "1000"}));
}

TEST_F(WindowLayout, Tooltips) {
    const struct {
        const char* name;
        const char* tip;
    } cases[] = {
        {"cmdCargar", "Cargar Track"},
        {"Command1", "Vuelve a calcularlo"},
        {"cmdMapa", "Ver el recorrido en un mapa"},
        {"cmdCortar", "Cortar el archivo cargado en varios de X puntos"},
        {"Combo1", "Cantidad de puntos por archivo"},
        {"Text1",
         "Si el desnivel entre 2 muestras consecutivas es > q este valor, se desprecia. Son "
         "muestras erróneas del GPS."},
        {"Text2", ""},
        {"Text3", ""},
        {"txtArchivo", ""},
        {"lstParada", "Parada en el Km X y un descanso de X min"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(control(c.name)->toolTip(), QString::fromUtf8(c.tip)) << c.name;
    }
}

TEST_F(WindowLayout, EveryControlCarriesItsName) {
    for (const char* name :
         {"cmdCargar", "txtArchivo",  "Command1", "cmdCortar",    "Combo1",   "Text1",
          "Text2",     "Text3",       "Label2",   "Label5",       "Label6",   "Label7",
          "lblKm",     "lbldesnivel", "lbl1",     "lbl2",         "lbl3",     "lbl4",
          "lbl5",      "lbl6",        "lbl7",     "lbldistancia", "lblcota1", "lblcota2",
          "lblvel1",   "lblvel2",     "lbltomas", "Label9",       "Label8",   "Label1",
          "lblTiempo", "Label11",     "Label10",  "Label13",      "Label14",  "lstParada",
          "Label12",   "MSChart1",    "MSChart2", "Frame1",       "Frame2",   "Label3",
          "Label4"}) {
        EXPECT_NE(window->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    }
    EXPECT_EQ(window->objectName(), QStringLiteral("frmPpal"));
    EXPECT_NE(window->findChild<QObject*>(QStringLiteral("cdialog1")), nullptr);
}

TEST_F(WindowLayout, PlacesControlsInTwipsFifteenToAPixel) {
    const struct {
        const char* name;
        QRect pixels;
    } cases[] = {
        {"cmdCargar", {6, 3, 41, 35}},    {"txtArchivo", {53, 6, 593, 19}},
        {"Command1", {628, 27, 19, 22}},  {"Combo1", {49, 46, 52, 21}},
        {"cmdMapa", {606, 27, 19, 22}},   {"lbl1", {138, 80, 57, 14}},
        {"Label8", {306, 95, 33, 14}},    {"Label14", {405, 110, 81, 14}},
        {"MSChart2", {2, 125, 649, 145}}, {"MSChart1", {2, 249, 649, 261}},
        {"Label3", {12, 8, 57, 13}},      {"lstParada", {660, 23, 74, 472}},
        {"lblKm", {512, 55, 94, 14}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(control(c.name)->geometry(), c.pixels) << c.name;
    EXPECT_EQ(window->size(), QSize(740, 512));
    EXPECT_EQ(window->minimumSize(), QSize(740, 512));
}

TEST_F(WindowLayout, GrowsTheProfilesAndKeepsTheRightColumnAtTheRightEdge) {
    const struct {
        const char* name;
        QRect initial;
        QRect grown;  // 400 px wider, 300 px higher: 107 to the speed profile, 193 to the altitude
    } cases[] = {
        {"MSChart2", {2, 125, 649, 145}, {2, 125, 1049, 252}},
        {"MSChart1", {2, 249, 649, 261}, {2, 356, 1049, 454}},
        {"Frame2", {286, 253, 81, 25}, {286, 360, 81, 25}},
        {"Frame1", {286, 129, 81, 25}, {286, 129, 81, 25}},
        {"Label12", {680, 8, 41, 17}, {1080, 8, 41, 17}},
        {"lstParada", {660, 23, 74, 472}, {1060, 23, 74, 772}},
        {"cmdMapa", {606, 27, 19, 22}, {606, 27, 19, 22}},
        {"txtArchivo", {53, 6, 593, 19}, {53, 6, 593, 19}},
        {"lblKm", {512, 55, 94, 14}, {512, 55, 94, 14}},
        {"Label14", {405, 110, 81, 14}, {405, 110, 81, 14}},
    };
    window->show();
    window->resize(1140, 812);
    QApplication::processEvents();
    for (const auto& c : cases)
        EXPECT_EQ(control(c.name)->geometry(), c.grown) << c.name;
    const QImage picture = window->grab().toImage();
    EXPECT_EQ(picture.pixelColor(1058, 600), look::kPanelGrey);  // Shape3, down to the bottom
    EXPECT_EQ(picture.pixelColor(700, 12), QColor(3, 0, 67));    // where it stood
    window->resize(740, 512);
    QApplication::processEvents();
    for (const auto& c : cases)
        EXPECT_EQ(control(c.name)->geometry(), c.initial) << c.name;
}

// A normal top-level window, so that desktops list it in the taskbar and Alt+Tab, with the
// program's icon; it can be minimised, enlarged and maximised.
TEST_F(WindowLayout, IsATopLevelWindowWithItsCaptionAndIcon) {
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);
    // No hints of its own: the desktop's title bar with every button.
    EXPECT_FALSE(flags & Qt::CustomizeWindowHint);
    EXPECT_GT(window->maximumSize().width(), 740);
    EXPECT_GT(window->maximumSize().height(), 512);
    const QString title = window->windowTitle();
    EXPECT_TRUE(title.startsWith(QStringLiteral("Análisis Tracks @Senderal v1.3") +
                                 QString(109, QChar(' ')) + QStringLiteral("(")));
    EXPECT_TRUE(title.endsWith(QStringLiteral(".example)")));

    const QIcon icon = window->windowIcon();
    ASSERT_FALSE(icon.isNull());
    const QImage picture = icon.pixmap(QSize(48, 48)).toImage();
    ASSERT_FALSE(picture.isNull());
    // Drawn, not blank: the centre of the picture is not transparent.
    EXPECT_GT(qAlpha(picture.pixel(24, 24)), 0);
}

TEST_F(WindowLayout, FontsAndColours) {
    for (const char* name : {"lbl1", "lbldesnivel", "lblKm", "lblTiempo"}) {
        const QFont font = control(name)->font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25) << name;
        EXPECT_TRUE(font.bold()) << name;
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans")) << name;
    }
    const QFont plain = control("txtArchivo")->font();
    EXPECT_DOUBLE_EQ(plain.pointSizeF(), 8.25);
    EXPECT_FALSE(plain.bold());
    EXPECT_EQ(QFontInfo(plain).family(), QStringLiteral("Liberation Sans"));

    const struct {
        const char* name;
        QColor text;
        QColor background;
    } cases[] = {
        {"lbl1", QColor(255, 0, 0), QColor(255, 255, 192)},
        {"Label8", QColor(255, 0, 0), QColor(255, 255, 192)},
        {"lblTiempo", QColor(255, 128, 0), QColor(255, 255, 192)},
        {"Label14", QColor(255, 128, 0), QColor(255, 255, 192)},
        {"lbldesnivel", QColor(0, 0, 0), QColor(255, 255, 192)},
        {"Label2", control("Label2")->palette().color(QPalette::WindowText), look::kPanelGrey},
    };
    for (const auto& c : cases) {
        const QPalette palette = control(c.name)->palette();
        EXPECT_EQ(palette.color(QPalette::WindowText), c.text) << c.name;
        EXPECT_EQ(palette.color(QPalette::Window), c.background) << c.name;
    }
}

TEST_F(WindowLayout, PaintsBackgroundAndPanelsBehindTheControls) {
    const QImage picture = window->grab().toImage();
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(3, 0, 67));
    EXPECT_EQ(picture.pixelColor(5, 100), QColor(255, 255, 192));  // Shape1, left of the labels
    EXPECT_EQ(picture.pixelColor(658, 300), look::kPanelGrey);     // Shape3, left of the list
    EXPECT_EQ(picture.pixelColor(120, 28), look::kPanelGrey);      // Shape2, below the path
    EXPECT_EQ(picture.pixelColor(654, 300), QColor(3, 0, 67));     // the gap between panels
}

TEST_F(WindowLayout, ButtonPicturesAreScalable) {
    for (const char* name : {"cmdCargar", "Command1", "cmdMapa", "cmdCortar"}) {
        const QIcon icon = control<QToolButton>(name)->icon();
        ASSERT_FALSE(icon.isNull()) << name;
        // Drawn from a vector picture: sharp at twice the size too.
        const QSize big = icon.pixmap(QSize(32, 32)).size();
        EXPECT_EQ(std::max(big.width(), big.height()), 32) << name;
    }
    EXPECT_EQ(control<QToolButton>("cmdCargar")->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
}

TEST_F(WindowLayout, StackingAndTabOrder) {
    const QObjectList children = window->children();
    const char* backToFront[] = {"cmdCargar", "txtArchivo", "Command1",  "cmdMapa", "Text1",
                                 "MSChart2",  "MSChart1",   "Frame1",    "Frame2",  "Text2",
                                 "Text3",     "lstParada",  "cmdCortar", "Combo1"};
    qsizetype previous = -1;
    for (const char* name : backToFront) {
        const qsizetype at = children.indexOf(control(name));
        EXPECT_GT(at, previous) << name;
        previous = at;
    }
    const qsizetype firstControl = children.indexOf(control("cmdCargar"));
    for (QLabel* label : window->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
        EXPECT_LT(children.indexOf(label), firstControl) << label->objectName().toStdString();
    }

    const char* tabOrder[] = {"cmdCargar", "txtArchivo", "MSChart1",  "Command1",
                              "cmdMapa",   "MSChart2",   "Text1",     "Text2",
                              "Text3",     "lstParada",  "cmdCortar", "Combo1"};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        QWidget* next = control(tabOrder[i - 1])->nextInFocusChain();
        // Parts of a control (a chart's viewport) pass their focus on to it.
        while (next && (next->focusPolicy() == Qt::NoFocus || next->focusProxy())) {
            next = next->nextInFocusChain();
        }
        EXPECT_EQ(next, control(tabOrder[i]))
            << tabOrder[i - 1] << " then " << next->objectName().toStdString() << " "
            << next->metaObject()->className();
    }
}

}  // namespace
}  // namespace at::test
