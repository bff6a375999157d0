#include "render/PdfFileName.h"

#include "render/PageFileName.h"

FCString PdfFileName::script(const FCString& destination, const FCString& scene,
                             const FCString& character)
{
    FCString path = PageFileName::folder(destination, scene);
    path.append(PageFileName::safeName(scene.view()).view());
    path.append(".");
    path.append(PageFileName::safeName(character.view()).view());
    path.append(".pdf");
    return path;
}

FCString PdfFileName::bundle(const FCString& destination, const FCString& character)
{
    FCString path(destination);
    path.append(PageFileName::safeName(character.view()).view());
    path.append(".pdf");
    return path;
}
