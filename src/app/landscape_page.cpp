#include "app/landscape_page.h"

#include "app/main_window.h"

namespace zentorix::app {

LandscapePage::LandscapePage(MainWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
    setObjectName("Landscape");
}

}  // namespace zentorix::app
