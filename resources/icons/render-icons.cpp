// Renders the program's SVG icons at the sizes the windows show them and writes their pixels into a
// C++ source file, so that a start draws its toolbar, menus and trees without parsing an SVG.
// Usage: orvex_render_icons OUT.cpp [--table=NAME] [--sizes=16,24,32] FILE.svg ... (a --sizes
// applies to the files after it; the table is named kPrerenderedIcons unless --table names it). The pixels are the icon engine's own rendering of each file, so the program
// shows the same image as when it rendered the SVG itself.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSaveFile>

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: orvex_render_icons OUT.cpp [--table=NAME] [--sizes=16,24,32] FILE.svg ...\n");
        return 1;
    }
    std::vector<int> sizes{16, 24, 32};
    std::string data, table, tableName = "kPrerenderedIcons";
    int count = 0;
    for (qsizetype a = 2; a < args.size(); ++a) {
        const QString& arg = args[a];
        if (arg.startsWith(QStringLiteral("--table="))) {
            tableName = arg.mid(8).toStdString();
            continue;
        }
        if (arg.startsWith(QStringLiteral("--sizes="))) {
            sizes.clear();
            for (const QString& s : arg.mid(8).split(QLatin1Char(','), Qt::SkipEmptyParts))
                sizes.push_back(s.toInt());
            continue;
        }
        const QIcon icon(arg);
        const QString name = QFileInfo(arg).completeBaseName();
        for (int size : sizes) {
            const QImage image = icon.pixmap(QSize(size, size), 1.0, QIcon::Normal, QIcon::Off)
                                     .toImage()
                                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            if (image.size() != QSize(size, size)) {
                // The program renders this one from its SVG, as it would without this file.
                std::fprintf(stderr, "orvex_render_icons: %s not rendered at %d\n", qPrintable(arg), size);
                continue;
            }
            data += "alignas(4) const unsigned char k" + std::to_string(count) + "[] = {";
            for (int y = 0; y < size; ++y) {
                const uchar* line = image.constScanLine(y);
                for (int x = 0; x < size * 4; ++x)
                    data += std::to_string(line[x]) + ",";
                data += "\n";
            }
            data += "};\n";
            table +=
                "    {\"" + name.toStdString() + "\", " + std::to_string(size) + ", k" + std::to_string(count) + "},\n";
            ++count;
        }
    }
    const std::string text = "// Written by orvex_render_icons at build time.\n"
                             "#include \"platform/ui/PrerenderedIcons.h\"\n\nnamespace {\n" +
                             data + "} // namespace\n\nextern const SPrerenderedIcon " + tableName + "[] = {\n" +
                             table + "    {nullptr, 0, nullptr}};\n";
    QSaveFile out(args[1]);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), qint64(text.size())) != qint64(text.size()) ||
        !out.commit()) {
        std::fprintf(stderr, "orvex_render_icons: cannot write %s\n", qPrintable(args[1]));
        return 1;
    }
    return 0;
}
