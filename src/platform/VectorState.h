#pragma once

// On x86 processors with AVX, code that leaves the upper halves of the vector
// registers dirty (some library routines and drawing code do) makes every
// later SSE instruction pay for it until something clears them; the engine
// and the parser are SSE code, and on some processors that doubled the cost
// of parts of an import. Clears that state where the processor has it; does
// nothing elsewhere. Cheap enough to call once per file of a long run.
void ClearUpperVectorState();
