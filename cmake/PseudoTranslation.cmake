# Writes a pseudo-translation of a .ts catalogue: every finished translation
# wrapped in 【 and 】 (characters that GBK, the module's text encoding, holds).
# A window shown with it reveals each text that does not come through the
# translation system: that one is not wrapped. An unfinished entry stays
# unfinished, so lrelease leaves it out and its text shows unwrapped too.
#   cmake -DINPUT=tarvolan_en.ts -DOUTPUT=pseudo/tarvolan_en.ts -P PseudoTranslation.cmake
file(READ ${INPUT} ts)
string(REGEX REPLACE "<translation>([^<]*)</translation>" "<translation>【\\1】</translation>" ts "${ts}")
file(WRITE ${OUTPUT} "${ts}")
