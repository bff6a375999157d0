#include "reports/CheckListText.h"

#include "fc/FCString.h"
#include "format/PrintFormat.h"
#include "platform/Sjis.h"
#include "reports/PageCountEstimate.h"

const char* CheckListText::printedMark()
{
    return Sjis::of("□");
}

const char* CheckListText::unprintedMark()
{
    return Sjis::of("■");
}

const char* CheckListText::noSpeakerMark()
{
    return Sjis::of("※");
}

std::string CheckListText::modeLine(const PrintFormat& format, bool csv)
{
    std::string line;
    switch (PageCountEstimate::cacheMode(format.mode())) {
    case PrintFormat::ModeCustom: {
        const char* separator = csv ? " " : ", ";
        line = "CUSTOM: size=" + std::to_string(format.fontSize());
        line += separator;
        line += "width=" + std::to_string(format.lineWidth());
        line += separator;
        line += "lines/page=" + std::to_string(format.linesPerPage());
        line += separator;
        line += "chars/line=" + std::to_string(format.charsPerLine());
        break;
    }
    case PrintFormat::ModePreset16:
        line = Sjis::of("16p 標準指定");
        break;
    case PrintFormat::ModePreset18:
        line = Sjis::of("18p 標準指定");
        break;
    default:
        line = Sjis::of("14p 標準指定");
        break;
    }
    if (csv)
        line += ",,";
    return line;
}

std::string CheckListText::sceneName(std::string_view fileName)
{
    FCString name(fileName);
    name.replaceAll(".screenplay.txt", "");
    return name.toStdString();
}

void CheckListText::appendLine(std::string& text, std::string_view line)
{
    text.append(line);
    text.push_back('\n');
}
