#pragma once

// A 2D transform that keeps its parts (translation, then scale or rotation,
// then post-translation) and builds its 3x3 matrix only when asked. It turns
// into a plain matrix when an operation cannot be kept in the parts, and
// stays so until SetIdentity. Column vectors: x' = m0 x + m1 y + m2.
namespace math
{
class Transform2D
{
public:
    Transform2D();

    void SetIdentity();
    const float* GetMatrix();

    void Translate(float dx, float dy);
    void Rotate(float radians);
    void RotateDegrees(float degrees);
    void Scale(float sx, float sy);

    float mMatrix[9];
    bool mDirty;
    bool mMatrixMode;
    bool mRotationSet;
    bool mScaleSet;
    float mTranslationX, mTranslationY;
    float mPostTranslationX, mPostTranslationY;
    float mScaleX, mScaleY;
    float mRotation;

private:
    void Rebuild();
    void EnterMatrixMode();
    // M := L x M for a matrix L given by its first two rows.
    void PreMultiply(float a, float b, float c, float d, float e, float f);
};
} // namespace math
