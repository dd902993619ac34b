// The save's sound is heard: a sound server of its own (PulseAudio, with a
// null sink standing for the speakers) plays what the program sends, and a
// recording of the sink's monitor is silent until Save Changes, then holds
// the confirmation's sound.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "tests/desktop/desktop_driver.h"

using namespace agelark::desktop;

namespace {

// A PulseAudio server on a socket of its own, with one null sink as the
// default output; nothing else of the user's sound set-up is loaded (-n).
class SoundServer {
public:
    SoundServer() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", dir_.path());  // its cookie and state files, not the user's
        env.insert("XDG_RUNTIME_DIR", dir_.path());
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server_.start("pulseaudio", {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                                     "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket(),
                                     "--load=module-null-sink sink_name=speakers"});
    }
    ~SoundServer() {
        server_.terminate();
        if (!server_.waitForFinished(5000)) server_.kill();
    }
    QString address() const { return "unix:" + socket(); }
    // Up once it answers.
    bool up() {
        return waitUntil(
            [&] {
                QProcess ask;
                ask.setStandardOutputFile(QProcess::nullDevice());
                ask.setStandardErrorFile(QProcess::nullDevice());
                ask.start("pactl", {"-s", address(), "info"});
                return ask.waitForFinished(5000) && ask.exitStatus() == QProcess::NormalExit && ask.exitCode() == 0;
            },
            patience(10000));
    }

private:
    QString socket() const { return dir_.filePath("native"); }
    QTemporaryDir dir_;
    QProcess server_;
};

// What the speakers play, as 16-bit mono samples, recorded from the sink's monitor.
class Recording {
public:
    explicit Recording(const QString& server) {
        recorder_.start("parec", {"-s", server, "-d", "speakers.monitor", "--raw", "--format=s16le", "--rate=44100",
                                  "--channels=1", "--latency-msec=20"});
    }
    ~Recording() {
        recorder_.terminate();
        if (!recorder_.waitForFinished(5000)) recorder_.kill();
    }
    bool started() { return recorder_.waitForStarted(5000); }
    // The loudest sample recorded since the last call.
    int peakSinceLastAsked() {
        const QByteArray data = recorder_.readAllStandardOutput();
        int peak = 0;
        for (qsizetype i = 0; i + 1 < data.size(); i += 2)
            peak = std::max(peak, std::abs(int(qint16(quint8(data[i]) | quint8(data[i + 1]) << 8))));
        received_ += data.size();
        return peak;
    }
    qsizetype received() const { return received_; }

private:
    QProcess recorder_;
    qsizetype received_ = 0;
};

}  // namespace

class DesktopSound : public QObject {
    Q_OBJECT
private slots:
    void saveSoundsThroughTheSoundServer();
};

void DesktopSound::saveSoundsThroughTheSoundServer() {
    SoundServer sound;
    QVERIFY2(sound.up(), "the PulseAudio server did not start");
    Recording speakers(sound.address());
    QVERIFY(speakers.started());

    Program program;
    program.environment.insert("PULSE_SERVER", sound.address());
    QVERIFY(program.start());
    const Accessible main = program.window("Agelark v2.5");
    QVERIFY(program.showPage(main, "Custom"));
    // Silence, and a recording that runs, until the save.
    QTest::qWait(500);
    QCOMPARE(speakers.peakSinceLastAsked(), 0);
    QVERIFY(waitUntil([&] { return speakers.peakSinceLastAsked() == 0 && speakers.received() > 44100; }, patience(3000)));

    QVERIFY(program.control(main, "push button", "Save Changes").press());
    QVERIFY(program.window("Saved!"));
    int peak = 0;
    waitUntil([&] { return (peak = std::max(peak, speakers.peakSinceLastAsked())) > 1000; }, patience(3000));
    QVERIFY2(peak > 1000, qPrintable(QStringLiteral("the loudest sample after the save was %1").arg(peak)));
    QVERIFY(program.closeWindow("Agelark v2.5"));
    QVERIFY(program.endedNormally());
}

QTEST_GUILESS_MAIN(DesktopSound)
#include "test_desktop_sound.moc"
