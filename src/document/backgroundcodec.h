#pragma once

class QImage;

// How a background picture goes into a PDF. A captured screen of windows
// and text compresses without loss as small as a high-quality JPEG, and
// stays exact; a photograph compresses many times worse and slower without
// loss, and goes as JPEG. Decided from bands sampled across the picture.
class BackgroundCodec
{
public:
    static bool keepsLossless(const QImage &picture);
};
