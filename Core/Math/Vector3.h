#pragma once

namespace math
{
struct Vector3
{
    float x = 0, y = 0, z = 0;

    Vector3() = default;
    Vector3(float x_, float y_, float z_) : x(x_), y(y_), z(z_) {}

    // Equal when no component differs by more than 2e-4.
    bool operator==(const Vector3& other) const;
    bool operator!=(const Vector3& other) const;
    Vector3 operator+(const Vector3& other) const { return Vector3(x + other.x, y + other.y, z + other.z); }
    Vector3 operator-(const Vector3& other) const { return Vector3(x - other.x, y - other.y, z - other.z); }
    Vector3& operator+=(const Vector3& other)
    {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }
};

// Four floats, used as an RGBA colour.
struct Point4
{
    float x = 0, y = 0, z = 0, w = 0;

    Point4() = default;
    Point4(float x_, float y_, float z_, float w_) : x(x_), y(y_), z(z_), w(w_) {}

    // Component-wise product of a and b into this.
    void Modulate(const Point4& a, const Point4& b);
};
} // namespace math
