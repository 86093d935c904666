#pragma once

#include <QString>

namespace spk {

// Code to value conversions.
double levelDb(int levelCode);      // code / 5 - 60
double delayMs(int delayCode);      // code x 0.0104
double delayMetres(int delayCode);  // ms / 2.9034
double delayFeet(int delayCode);    // metres x 3.281
double freqHz(int freqCode);        // clamped lookup
double eqGainDb(int gainCode);      // clamped lookup
double qValue(int qCode);           // clamped lookup

// Number texts: fixed decimals ("0.0", "0.000" forms, never "-0.0") and the shortest decimal form.
QString fixedText(double value, int decimals);
QString shortestText(double value);

// The texts the window shows.
QString levelText(int levelCode, bool systemLevel); // "-12.4dB"; system level code 0 is "mute"
QString delayMsText(int delayCode);                 // "0.998ms"
QString delayMetresText(int delayCode);             // "0.344m"
QString delayFeetText(int delayCode);               // "1.128ft"
QString freqText(int freqCode);                     // "1000.0Hz" (image-to-controls form)
QString freqShortText(int freqCode);                // "1000Hz" (editor form)
QString gainText(int gainCode);                     // "1.0dB"
QString qText(int qCode);                           // "4.072"
QString polarityText(int polarityByte);             // "Pol(+)" / "Pol(-)"

// Typed text to a number: decimal with "." only, finite, nothing else in the text.
bool parseNumber(const QString &text, double *value);

// Typed level (dB) to code: limited to -60..0, truncated after a tiny epsilon so a shown level keeps its code.
int levelCodeFromDb(double db);
// Typed delay (ms) to code: limited before it is converted, truncated toward zero, at most 1440.
int delayCodeFromMs(double ms);

} // namespace spk
