// Drives the real program on an X server: starts it with a project file, waits (bounded) until its
// main window is mapped with the project's name in the caption and has been painted, saves a
// screenshot of it, asks it to close as a window manager would (WM_DELETE_WINDOW) and checks that
// it ends cleanly.
//
//   orvex_smoke_driver <program> <project file> <screenshot.png>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTimer>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

namespace {
xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return atom;
}

std::string Title(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netWmName, xcb_atom_t utf8)
{
    for (auto [prop, type] :
         {std::pair{netWmName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_STRING)}}) {
        xcb_get_property_reply_t* r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, type, 0, 1024), nullptr);
        std::string text;
        if (r && xcb_get_property_value_length(r) > 0)
            text.assign(static_cast<const char*>(xcb_get_property_value(r)), size_t(xcb_get_property_value_length(r)));
        free(r);
        if (!text.empty())
            return text;
    }
    return {};
}

// The mapped top-level window whose caption contains text; 0 when there is none yet.
xcb_window_t FindWindow(xcb_connection_t* c, xcb_window_t root, const std::string& text)
{
    const xcb_atom_t netWmName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
    if (!tree)
        return 0;
    xcb_window_t found = 0;
    xcb_window_t* children = xcb_query_tree_children(tree);
    for (int i = 0; i < xcb_query_tree_children_length(tree) && !found; ++i) {
        xcb_get_window_attributes_reply_t* a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr);
        const bool viewable = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        free(a);
        if (viewable && Title(c, children[i], netWmName, utf8).find(text) != std::string::npos)
            found = children[i];
    }
    free(tree);
    return found;
}

// Polls cond every interval until it holds or the time is up; the event loop runs meanwhile.
bool WaitFor(const std::function<bool()>& cond, int timeoutMs, int intervalMs = 100)
{
    QElapsedTimer clock;
    clock.start();
    while (!cond()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(intervalMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "smoke: %s\n", what);
    return 1;
}
} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4)
        return Fail("usage: orvex_smoke_driver <program> <project file> <screenshot.png>");
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString project = QString::fromLocal8Bit(argv[2]);
    const QString shot = QString::fromLocal8Bit(argv[3]);
    if (!QFileInfo::exists(project))
        return Fail("the project file does not exist");

    QProcess orvex;
    orvex.setProcessChannelMode(QProcess::ForwardedChannels);
    orvex.start(program, {project});
    if (!orvex.waitForStarted(10000))
        return Fail("the program did not start");

    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    if (xcb_connection_has_error(c))
        return Fail("no X server");
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screen; ++i)
        xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    // The caption carries the project's file name once the project is open.
    const std::string caption = QFileInfo(project).fileName().toStdString();
    xcb_window_t window = 0;
    if (!WaitFor([&] { return (window = FindWindow(c, root, caption)) != 0 || orvex.state() == QProcess::NotRunning; },
                 30000) ||
        !window)
        return Fail("the main window with the project did not appear");

    // Painted: the picture shows more than a handful of colours (bars, tree, text).
    QImage image;
    const bool painted = WaitFor(
        [&] {
            image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
            QSet<QRgb> colours;
            for (int y = 0; y < image.height() && colours.size() < 16; y += 7)
                for (int x = 0; x < image.width() && colours.size() < 16; x += 7)
                    colours.insert(image.pixel(x, y));
            return !image.isNull() && colours.size() >= 16;
        },
        15000, 200);
    if (!painted)
        return Fail("the main window was not painted");
    if (!image.save(shot, "PNG"))
        return Fail("the screenshot could not be saved");
    std::printf("smoke: screenshot %s (%dx%d)\n", qPrintable(shot), image.width(), image.height());

    // Close as a window manager would.
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = window;
    ev.type = Atom(c, "WM_PROTOCOLS");
    ev.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    if (!orvex.waitForFinished(20000)) {
        orvex.kill();
        orvex.waitForFinished(5000);
        return Fail("the program did not close");
    }
    xcb_disconnect(c);
    if (orvex.exitStatus() != QProcess::NormalExit || orvex.exitCode() != 0)
        return Fail("the program did not end cleanly");
    std::printf("smoke: ok\n");
    return 0;
}
