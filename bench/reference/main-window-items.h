// What the main window's template cannot say, made by bench/reference-maker: do not edit.
// A drop-down list: its ID, its items separated by line feeds, the one chosen.
#define REFERENCE_LISTS \
    {10007, L"NO PLUS\nNO GND\nNC PLUS\nNC GND", 0}, \
    {10016, L"NO PLUS\nNO GND\nNC PLUS\nNC GND", 0}, \
    {10062, L"- - -\nCLIP\nSMS\nCLIP+SMS\nSMS+CLIP", 0}, \
    {10073, L"- - -\nCLIP\nSMS\nCLIP+SMS\nSMS+CLIP", 0}, \
    {10084, L"- - -\nCLIP\nSMS\nCLIP+SMS\nSMS+CLIP", 0}, \
    {10095, L"- - -\nCLIP\nSMS\nCLIP+SMS\nSMS+CLIP", 0}, \
    {10106, L"- - -\nCLIP\nSMS\nCLIP+SMS\nSMS+CLIP", 0}, \

// The check boxes ticked.
#define REFERENCE_CHECKED

// The controls' font: face, height, weight, character set; the controls that have it.
#define REFERENCE_FONT L"MS Sans Serif", 16, 400, 186
#define REFERENCE_FONTED 10001, 10143
