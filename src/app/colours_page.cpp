#include "app/colours_page.h"

#include "app/main_window.h"

namespace zentorix::app {

ColoursPage::ColoursPage(MainWindow& window, QWidget* parent) : QWidget(parent), window_(window) {
    setObjectName("TabSheet2");
}

}  // namespace zentorix::app
