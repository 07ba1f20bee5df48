// Writes the program's generated resources into the folder given as the only
// argument: the icons, the alarm sounds and the display artwork.
#include "faces.h"
#include "glyphs.h"
#include "icon.h"
#include "image.h"
#include "update_icon.h"
#include "wave.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: resgen OUTPUT-FOLDER\n");
        return 2;
    }
    const std::string out = std::string(argv[1]) + "/";
    try {
        WriteFile(out + "tikkora.ico", EncodeIco({DrawIcon(32), DrawIcon(16), DrawIcon(48)}));
        WriteFile(out + "update.ico", EncodeIco({DrawUpdateIcon()}));
        WriteFile(out + "Tikkora.wav", EncodeWave(RenderNotes(DefaultChime())));
        WriteFile(out + "Glocke.wav", EncodeWave(RenderNotes(WestminsterChime())));
        WriteFile(out + "Morgen.wav", EncodeWave(RenderNotes(MorningRun())));
        WriteFile(out + "Spieluhr.wav", EncodeWave(RenderNotes(MusicBox())));
        WriteFile(out + "imagelist1.bmp", EncodeBmp32(glyphs::DrawLargeStrip()));
        WriteFile(out + "imagelist2.bmp", EncodeBmp32(glyphs::DrawSmallStrip()));
        for (const faces::SmallFace& face : faces::SmallFaces()) {
            WriteFile(out + "face" + std::to_string(face.number) + ".bmp",
                      EncodeBmp4(faces::DrawSmallFace(face.marks), faces::SmallFacePalette()));
        }
        WriteFile(out + "sampleclock.bmp",
                  EncodeBmp4(faces::DrawSampleClock(), faces::SampleClockPalette()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
