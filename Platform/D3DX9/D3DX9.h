#pragma once

// The D3DX calls the engine makes: the HLSL compile call, its result buffers
// and the constant table that sets shader constants by name.
#include "Platform/D3D9/D3D9.h"

typedef const char* D3DXHANDLE;

struct D3DXMACRO
{
    LPCSTR Name;
    LPCSTR Definition;
};

struct ID3DXInclude;
typedef ID3DXInclude* LPD3DXINCLUDE;

struct D3DXMATRIX
{
    FLOAT m[4][4];
};

struct D3DXVECTOR4
{
    FLOAT x, y, z, w;
};

enum D3DXREGISTER_SET : DWORD
{
    D3DXRS_BOOL = 0,
    D3DXRS_INT4 = 1,
    D3DXRS_FLOAT4 = 2,
    D3DXRS_SAMPLER = 3,
};

enum D3DXPARAMETER_CLASS : DWORD
{
    D3DXPC_SCALAR = 0,
    D3DXPC_VECTOR = 1,
    D3DXPC_MATRIX_ROWS = 2,
    D3DXPC_MATRIX_COLUMNS = 3,
    D3DXPC_OBJECT = 4,
    D3DXPC_STRUCT = 5,
};

enum D3DXPARAMETER_TYPE : DWORD
{
    D3DXPT_VOID = 0,
    D3DXPT_BOOL = 1,
    D3DXPT_INT = 2,
    D3DXPT_FLOAT = 3,
    D3DXPT_SAMPLER2D = 12,
};

struct D3DXCONSTANT_DESC
{
    LPCSTR Name;
    D3DXREGISTER_SET RegisterSet;
    UINT RegisterIndex;
    UINT RegisterCount;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT StructMembers;
    UINT Bytes;
    const void* DefaultValue;
};

#define D3DXSHADER_DEBUG (1u << 0)

struct ID3DXBuffer : IUnknown
{
    virtual void* GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

struct ID3DXConstantTable : IUnknown
{
    virtual D3DXHANDLE GetConstantByName(D3DXHANDLE parent, LPCSTR name) = 0;
    virtual HRESULT GetConstantDesc(D3DXHANDLE constant, D3DXCONSTANT_DESC* desc, UINT* count) = 0;
    virtual HRESULT SetMatrix(IDirect3DDevice9* device, D3DXHANDLE constant,
                              const D3DXMATRIX* matrix) = 0;
    virtual HRESULT SetVector(IDirect3DDevice9* device, D3DXHANDLE constant,
                              const D3DXVECTOR4* vector) = 0;
    virtual HRESULT SetFloat(IDirect3DDevice9* device, D3DXHANDLE constant, FLOAT value) = 0;
};

typedef ID3DXBuffer* LPD3DXBUFFER;
typedef ID3DXConstantTable* LPD3DXCONSTANTTABLE;

// Compiles DX9-style HLSL for the stage the profile names ("vs_...", "ps_...").
// Needs no device. On failure: E_FAIL, messages, no code and no table.
HRESULT D3DXCompileShader(LPCSTR source, UINT length, const D3DXMACRO* defines,
                          LPD3DXINCLUDE include, LPCSTR function, LPCSTR profile, DWORD flags,
                          LPD3DXBUFFER* shader, LPD3DXBUFFER* messages,
                          LPD3DXCONSTANTTABLE* constants);
