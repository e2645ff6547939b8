#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class QSerialPortInfo;

// One serial port as the operator knows it: the device and the adapter behind it.
struct SerialAdapter
{
    // What a port opens: "/dev/ttyUSB0", or a path that was typed or is the emulator's link.
    QString systemLocation;
    // The system's short name ("ttyUSB0"); for a path, the path.
    QString portName;
    QString description;
    QString manufacturer;
    QString serialNumber;
    // The udev name that stays with the adapter ("/dev/serial/by-id/usb-FTDI_..."), or empty.
    QString byIdPath;
};

// USB-serial adapters come back under another ttyUSB number when they are plugged
// in again, and two of one kind look alike by device name. These name them by what
// the adapter says about itself and find one again by an id that stays with it.
// No widgets: the command-line program lists ports with the same texts.
class SerialAdapters
{
    Q_DECLARE_TR_FUNCTIONS(SerialAdapters)

public:
    static const QString byIdDirectory;
    static const QString ttyClassDirectory;

    // Every serial port the system lists, in its order, with its by-id name where
    // byIdDir holds one.
    static QList<SerialAdapter> present(const QString &byIdDir = byIdDirectory);
    // The ports as the operator picks among them: USB adapters first, then the
    // built-in ones, each in the system's order. A built-in UART that its driver
    // found nothing behind (ttyS1 on most machines) is left out; it still opens
    // when typed.
    static QList<SerialAdapter> arranged(const QList<SerialAdapter> &ports,
                                         const QString &ttyClassDir = ttyClassDirectory);
    static bool isUsb(const SerialAdapter &adapter);
    // The entry to select in a list: the remembered one (by its stable id), else the
    // only USB adapter or emulator link there is; -1 for none.
    static int preselected(const QList<SerialAdapter> &listed, const QString &remembered);
    static SerialAdapter fromInfo(const QSerialPortInfo &info, const QString &byIdPath);
    // A path the operator typed, or the emulator's link: named by the path alone.
    static SerialAdapter fromPath(const QString &path);

    // "ttyUSB0 — FT232R USB UART, FTDI, S/N A50285BI,
    // usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"; what is unknown is left out.
    static QString displayText(const SerialAdapter &adapter);
    // The adapter in a few words, for the connection state.
    static QString shortName(const SerialAdapter &adapter);
    // The by-id path, else the serial number, else the device: what is remembered.
    static QString stableId(const SerialAdapter &adapter);

    // The device that the id, a port name or a path stands for now, or empty when it
    // is not there. A path counts while it leads to an existing node.
    static QString locate(const QString &idOrPath, const QList<SerialAdapter> &adapters);
    static QString locate(const QString &idOrPath);

    // The device node a port name stands for: "ttyUSB0" is "/dev/ttyUSB0", a path is itself.
    static QString devicePath(const QString &portName);

    // Where the gateway emulator keeps its link: the user's runtime directory, which
    // nobody else may enter, or /tmp when the session has none.
    static QString emulatorLinkPath();
    // The emulator's link, when it and its pseudo-terminal belong to this user:
    // in /tmp anybody could plant one and catch the password typed into it.
    static bool isOwnEmulatorLink(const QString &path);
};
