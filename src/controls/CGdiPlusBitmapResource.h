#pragma once
// Loads a picture by number from the program's resources. Picture n is ":/pictures/n.png",
// with an optional twice-as-large "n@2x.png" for high-density screens; any library may add
// pictures to that prefix in its own .qrc. Loading fails quietly: a missing, empty or
// undecodable picture gives false, no message, and leaves no image.

#include "controls/CGdiPlusBitmap.h"

#include <QByteArray>
#include <QString>

class CGdiPlusBitmapResource : public CGdiPlusBitmap
{
public:
    CGdiPlusBitmapResource() = default;
    // Loads at once; check IsLoaded().
    explicit CGdiPlusBitmapResource(int number, qreal devicePixelRatio = 1.0);

    // Replaces the held picture with picture `number`. With a device pixel ratio above 1 the
    // 2x artwork is preferred; either file is used when only one exists. Returns success;
    // on failure nothing is held.
    bool Load(int number, qreal devicePixelRatio = 1.0);

    // Decodes PNG bytes (also for pictures that do not come from the resources). The image
    // gets the given device pixel ratio. Returns success; on failure nothing is held.
    bool LoadFromBytes(const QByteArray& bytes, qreal imageDevicePixelRatio = 1.0);

    // The resource path of picture `number` (":/pictures/324.png", or "...324@2x.png").
    static QString ResourcePath(int number, bool twoX = false);
};
