#include "app/session.h"

namespace zentorix::app {

Session::Session(ProgramFolder folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)), world_(std::make_unique<World>()) {}

void Session::ResetToDefaults() {
    const int w = world_->FieldWidth(), h = world_->FieldHeight();
    world_ = std::make_unique<World>();
    world_->SetFieldWidth(w);
    world_->SetFieldHeight(h);
    settings_ = Settings{};
}

}  // namespace zentorix::app
