// Pictures stored with a window: each form's pictures live in an RCDATA
// resource named after the form's class. The resource is a series of
// records, one per picture:
//   component name   length byte, then the name
//   data size        32-bit little-endian count of the bytes that follow
//   data             length byte and class name of the graphic, then the
//                    graphic's own form data (TGraphic::ReadData)
// The graphic is made through TPicture's registry by its class name, so a
// unit that registers its class must do so before the form is read.
// assets/pack-form-data writes such a resource at build time.
#pragma once
#include "component.h"
#include "streams.h"

#include <windows.h>

// Reads every picture of Form's resource into the TImage of that name; does
// nothing when the form has no resource. Raises EReadError for a class that
// is not registered, a component that is not an image, or damaged data.
void LoadFormPictures(TComponent* Form, HINSTANCE Instance = nullptr);
// The same from a stream that holds such records.
void ReadFormPictures(TComponent* Form, TStream* Stream);
