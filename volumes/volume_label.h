#pragma once

#include <QString>

// The label written in the file system on a device (or an image file):
// read from the volume itself, or, where the device may not be read, from
// the system's /dev/disk/by-label links. Empty when it has none or the
// source is no device.
QString ReadVolumeLabel(const QString& device);
