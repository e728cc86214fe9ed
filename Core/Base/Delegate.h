#pragma once

#include <array>
#include <cstring>

namespace base
{
// An identity word: wide enough for a whole member-function pointer, so two
// delegates compare by their full target without being invoked.
struct DelegateWord
{
    std::array<unsigned char, 2 * sizeof(void*)> bytes{};

    template <class V>
    static DelegateWord Of(const V& value)
    {
        static_assert(sizeof(V) <= sizeof(bytes), "identity does not fit a delegate word");
        DelegateWord word;
        std::memcpy(word.bytes.data(), &value, sizeof(V));
        return word;
    }

    bool operator==(const DelegateWord&) const = default;
};

// What a handle holds: a delegate of any arity, identified by its two words.
class DelegateBase
{
public:
    virtual DelegateWord GetObject() const = 0;
    virtual DelegateWord GetMethod() const = 0;
    virtual ~DelegateBase() = default;
};

template <class R>
class Delegate0 : public DelegateBase
{
public:
    virtual R Invoke() = 0;
};

template <class A, class R>
class Delegate1 : public DelegateBase
{
public:
    virtual R Invoke(A a) = 0;
};

template <class A, class B, class R>
class Delegate2 : public DelegateBase
{
public:
    virtual R Invoke(A a, B b) = 0;
};

template <class T, class R>
class MemberDelegate0 final : public Delegate0<R>
{
public:
    using Method = R (T::*)();
    MemberDelegate0(T* object, Method method) : mMethod(method), mObject(object) {}

    DelegateWord GetObject() const override { return DelegateWord::Of(mObject); }
    DelegateWord GetMethod() const override { return DelegateWord::Of(mMethod); }
    R Invoke() override { return (mObject->*mMethod)(); }

private:
    Method mMethod;
    T* mObject;
};

template <class T, class A, class R>
class MemberDelegate1 final : public Delegate1<A, R>
{
public:
    using Method = R (T::*)(A);
    MemberDelegate1(T* object, Method method) : mMethod(method), mObject(object) {}

    DelegateWord GetObject() const override { return DelegateWord::Of(mObject); }
    DelegateWord GetMethod() const override { return DelegateWord::Of(mMethod); }
    R Invoke(A a) override { return (mObject->*mMethod)(static_cast<A>(a)); }

private:
    Method mMethod;
    T* mObject;
};

template <class T, class A, class B, class R>
class MemberDelegate2 final : public Delegate2<A, B, R>
{
public:
    using Method = R (T::*)(A, B);
    MemberDelegate2(T* object, Method method) : mObject(object), mMethod(method) {}

    DelegateWord GetObject() const override { return DelegateWord::Of(mObject); }
    DelegateWord GetMethod() const override { return DelegateWord::Of(mMethod); }
    R Invoke(A a, B b) override { return (mObject->*mMethod)(static_cast<A>(a), static_cast<B>(b)); }

private:
    T* mObject;
    Method mMethod;
};

template <class A, class B, class R>
class StaticDelegate2 final : public Delegate2<A, B, R>
{
public:
    using Function = R (*)(A, B);
    explicit StaticDelegate2(Function function) : mFunction(function) {}

    DelegateWord GetObject() const override { return DelegateWord::Of(mFunction); }
    DelegateWord GetMethod() const override { return DelegateWord{}; }
    R Invoke(A a, B b) override { return mFunction(static_cast<A>(a), static_cast<B>(b)); }

private:
    Function mFunction;
};
} // namespace base
