#include "app/museum_page.h"

#include "app/main_window.h"

namespace zentorix::app {

MuseumPage::MuseumPage(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("TabSheet6");
}

}  // namespace zentorix::app
