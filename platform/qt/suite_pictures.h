// The pictures of the suite's resource libraries on the desktop: the welcome screen and its
// picture button (BRISKL.DLL), and the main window's background picture (TRAMOR32.DLL). They are
// our own artwork (suite_artwork.h): the welcome screen's for normal fonts drawn when the program
// was built, the others the first time they are asked for. The libraries that hold them are the
// only ones present.
#pragma once

#include <QPixmap>
#include <string_view>

bool SuiteLibraryPresent(std::string_view library);

// The size of a picture of a library; false when the library does not hold it.
bool SuitePictureSize(std::string_view library, std::string_view name, int& width, int& height);

// The picture itself; a null pixmap when there is no such picture.
QPixmap SuitePicture(std::string_view library, std::string_view name);
