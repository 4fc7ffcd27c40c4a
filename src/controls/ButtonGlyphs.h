#pragma once
// The pictures of the two windows' command buttons, drawn in code.

class TBitmap;

// One per command button of the two windows.
enum class TButtonGlyph {
    Load,             // viewer "Load DTS": a folder with a sheet of two curves
    Print,            // viewer "Print": a printer
    Refresh,          // "Osvezi komunikaciju": two arrows round a plug
    ReadAll,          // "Procitaj sve parametre": a list with an arrow into it
    Download,         // "PROCITAJ (F3)": a memory chip with an arrow down
    Erase,            // "OBRISI": a memory chip crossed out in red
    LoadImage,        // "Ucitaj BIN": a folder with a sheet of bits
    SaveImage,        // "Snimi BIN": a diskette
    ExportRecording,  // "Export DTS": a sheet of curves with an arrow out
    ClockSync,        // "Sinhronizuj CASOVNIK PC => ORVA": a clock with an arrow
    StartAcquisition, // "Pokreni akviziciju": a green play triangle
    StopAcquisition,  // "Zaustavi akviziciju": a dark red square
    ExportRtf,        // "Export RTF": a document with coloured lines of text
    SaveSettings,     // "Snimi podesavanja": a gear with a small diskette
    FindDevice,       // "Pronadji uredjaj": a magnifier over the logger
};

// Paints Which into Glyph: 32 x 32, 24-bit, on a ground that its
// bottom-left pixel makes transparent. The ground touches every edge, and no
// part of a picture turns into the ground's grey when a disabled button
// greys it, so a disabled button still shows the whole picture.
void PaintButtonGlyph(TBitmap *Glyph, TButtonGlyph Which);
