#include "platform/desktop_sound.h"

#include <canberra.h>

#include <QCoreApplication>

namespace agelark {

namespace {

// One connection to the sound service for the program's life, opened at the
// first sound; none when it cannot be opened (then every sound falls back).
ca_context* soundService() {
    static ca_context* const context = [] {
        ca_context* c = nullptr;
        if (ca_context_create(&c) != CA_SUCCESS) return static_cast<ca_context*>(nullptr);
        const QByteArray name = QCoreApplication::applicationName().toUtf8();
        ca_context_change_props(c, CA_PROP_APPLICATION_NAME, name.constData(), nullptr);
        if (ca_context_open(c) != CA_SUCCESS) {
            ca_context_destroy(c);
            return static_cast<ca_context*>(nullptr);
        }
        return c;
    }();
    return context;
}

}  // namespace

bool playThemeSound(const QString& soundEvent) {
    ca_context* service = soundService();
    if (!service) return false;
    const QByteArray event = soundEvent.toUtf8();
    return ca_context_play(service, 0, CA_PROP_EVENT_ID, event.constData(), nullptr) == CA_SUCCESS;
}

}  // namespace agelark
