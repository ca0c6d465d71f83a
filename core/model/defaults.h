#pragma once
// The default contents of the Radio image for each model, and the operations that restore them.

#include "core/model/radio_image.h"

namespace korvane::model {

// The record every channel gets by default: closed, transmit allowed, signalling off, Wide,
// receive and transmit on the model's default frequency. All zero for an index with no model.
Record defaultChannelRecord(int modelIndex);
AlignmentTable defaultAlignmentTable(int modelIndex);
const ParameterTable& defaultParameterTable();

// Settings bytes 0-12, the channels, the parameter table and the alignment table of the image's
// model; settings bytes 13-31 keep their values.
void resetImage(RadioImage& image);
void loadParameterDefaults(RadioImage& image);
// Leaves the table alone for an index with no model: there is no band to take it from.
void loadAlignmentDefaults(RadioImage& image);
// Model 0, every table cleared, then resetImage.
void newImage(RadioImage& image);

// The image a fresh start shows once the given model is chosen.
RadioImage defaultImage(int modelIndex);

} // namespace korvane::model
