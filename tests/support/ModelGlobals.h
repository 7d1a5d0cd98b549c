#pragma once

// Makes the program-wide objects that colours need, as start-up would, for as long as it lives:
// the converter, the texture list ("  No Texture" id 1 and a read-only pattern "dots" id 2), a white
// top colour with texture 1 and an empty list of generated colours. Everything is released at the end.
class ModelGlobals {
public:
    ModelGlobals();
    ~ModelGlobals();
    ModelGlobals(const ModelGlobals&) = delete;
    ModelGlobals& operator=(const ModelGlobals&) = delete;

    // Empties every program-wide variable.
    static void Release();
};
