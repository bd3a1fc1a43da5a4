// Refinement codewords: the real number after every refinable value. Its integer part of
// |c| x 0.1 numbers the least-squares parameter, the rest (with the sign of c) is the
// factor with which the value follows that parameter.
#pragma once

namespace kestovar {

// A refinable value with its codeword. `code` holds the codeword as read; after
// decoding `ParNo` and `Mult` hold its parameter number and factor.
struct ParamSlot {
  float value = 0.0f;
  float code = 0.0f;
  int ParNo = 0;
  float Mult = 0.0f;
};

struct DecodedCode {
  int ParNo = 0;
  float Mult = 0.0f;
};

DecodedCode decode_codeword(float c);
float encode_codeword(int ParNo, float Mult);

// Decodes slot.code into slot.ParNo and slot.Mult.
inline void decode_slot(ParamSlot& slot) {
  DecodedCode d = decode_codeword(slot.code);
  slot.ParNo = d.ParNo;
  slot.Mult = d.Mult;
}

}  // namespace kestovar
