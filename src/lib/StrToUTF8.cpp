#include <string.h>

#include "lib/lib.h"

// The code table of a table number: ISO 8859 part 1..11 and 13..16; every
// other number (0, 12, out of range) is ISO 6937.
static const word* CodeTable(int table) {
  static const word* const parts[17] = {
      0,
      UTFLookupISO8859_1,
      UTFLookupISO8859_2,
      UTFLookupISO8859_3,
      UTFLookupISO8859_4,
      UTFLookupISO8859_5,
      UTFLookupISO8859_6,
      UTFLookupISO8859_7,
      UTFLookupISO8859_8,
      UTFLookupISO8859_9,
      UTFLookupISO8859_10,
      UTFLookupISO8859_11,
      0,
      UTFLookupISO8859_13,
      UTFLookupISO8859_14,
      UTFLookupISO8859_15,
      UTFLookupISO8859_16,
  };
  if (table < 1 || table > 16 || !parts[table]) return UTFLookupISO6937;
  return parts[table];
}

bool StrToUTF8(const char* source, char* destination, byte defaultTable) {
  if (!source || !destination) return false;
  const byte* in = (const byte*)source;
  int table = defaultTable;
  if (in[0] > 0 && in[0] < 0x20) {
    if (in[0] == 0x15) {
      // Already UTF-8.
      strcpy(destination, source + 1);
      return false;
    }
    if (in[0] >= 0x01 && in[0] <= 0x0B) table = in[0] + 4;
    if (in[0] == 0x10 && in[1] == 0) {
      // The DVB selector 0x10 0x00 <table>: its zero does not end the text.
      in += 2;
      if (*in) table = *in++;
    } else {
      const byte* text = (const byte*)SkipCharTableBytes(source);
      if (in[0] == 0x10 && text - in == 3) table = in[2];
      in = text;
    }
  }
  const word* codes = CodeTable(table);
  bool converted = false;
  char* out = destination;
  while (*in) {
    byte length;
    if (*in < 0x80) {
      *out++ = (char)*in++;
      continue;
    }
    if (isUTF8Char((const char*)in, &length)) {
      memcpy(out, in, length);
      out += length;
      in += length;
      continue;
    }
    converted = true;
    if (codes == UTFLookupISO6937 && *in >= 0xC0 && *in <= 0xCF) {
      const char* pair = 0;
      if (in[1] != 0) {
        for (int i = 0; i < ISO6937_COMPOSITIONS; i++) {
          const char* entry = ISO6937DiacriticalPairs + 3 * i;
          if ((byte)entry[0] == in[0] && (byte)entry[1] == in[1]) {
            pair = ISO6937DiacriticalUTF8 + 3 * i;
            break;
          }
        }
      }
      if (pair) {
        out[0] = pair[0];
        out[1] = pair[1];
        out += 2;
      } else {
        LogEntryVexLibPrintf(
            true, "StrToUTF8: ISO6937 diacritical char %2.2x %2.2x has been ignored", in[0], in[1]);
      }
      // A mark at the very end has no letter to take along.
      in += in[1] ? 2 : 1;
      continue;
    }
    dword codepoint = *in < 0xA0 ? *in : codes[*in - 0xA0];
    // Bytes the character set leaves undefined are dropped; writing code
    // point 0 would cut the text short.
    if (codepoint) {
      UTF32ToUTF8(codepoint, out, &length);
      out += length;
    }
    in++;
  }
  *out = 0;
  return converted;
}
