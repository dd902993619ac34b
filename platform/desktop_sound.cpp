#include "platform/desktop_sound.h"

#include <canberra.h>

#include <QCoreApplication>

namespace agelark {

namespace {

ca_context* openService = nullptr;

// The connection's own threads end with the application, before the process
// tears down: none is left running while the exit handlers do their work.
void closeSoundService() {
    if (openService) ca_context_destroy(openService);
    openService = nullptr;
}

ca_context* openSoundService() {
    ca_context* c = nullptr;
    if (ca_context_create(&c) != CA_SUCCESS) return nullptr;
    const QByteArray name = QCoreApplication::applicationName().toUtf8();
    ca_context_change_props(c, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
    if (ca_context_open(c) != CA_SUCCESS) {
        ca_context_destroy(c);
        return nullptr;
    }
    qAddPostRoutine(closeSoundService);
    return c;
}

// One connection to the sound service for the program's life, opened at the
// first sound; none when it cannot be opened (then every sound falls back).
ca_context* soundService() {
    [[maybe_unused]] static const bool tried = (openService = openSoundService(), true);
    return openService;
}

}  // namespace

bool playThemeSound(const QString& soundEvent) {
    ca_context* service = soundService();
    if (!service) return false;
    const QByteArray event = soundEvent.toUtf8();
    return ca_context_play(service, 0, CA_PROP_EVENT_ID, event.constData(), nullptr) == CA_SUCCESS;
}

}  // namespace agelark
