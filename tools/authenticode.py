"""Reads Authenticode signatures: which program a detached signature was made for.

A signature (PKCS#7 SignedData) holds, in its SpcIndirectDataContent, the digest
of the program it signs: the whole PE file but for its checksum, the entry that
points at the signatures and the signatures themselves. The same digest read
from a program just built tells whether a signature belongs to it. The signing
itself, and attaching a signature, is osslsigncode's.
"""
import base64
import hashlib
import struct

# DER of the digest algorithms' object identifiers, as the DigestInfo names them.
DIGESTS = {
    bytes.fromhex("06052b0e03021a"): "sha1",
    bytes.fromhex("0609608648016503040201"): "sha256",
    bytes.fromhex("0609608648016503040202"): "sha384",
    bytes.fromhex("0609608648016503040203"): "sha512",
}
SPC_INDIRECT_DATA = bytes.fromhex("060a2b060104018237020104")
SECURITY_ENTRY = 4  # the data directory entry that locates the certificate table


class NotAuthenticode(ValueError):
    pass


def _element(data, pos):
    """(tag, start of contents, end) of the DER element at pos."""
    if pos + 2 > len(data):
        raise NotAuthenticode("truncated")
    tag, length, pos = data[pos], data[pos + 1], pos + 2
    if length & 0x80:
        count = length & 0x7F
        length, pos = int.from_bytes(data[pos:pos + count], "big"), pos + count
    if pos + length > len(data):
        raise NotAuthenticode("truncated")
    return tag, pos, pos + length


def _children(data, start, end):
    """The elements within [start, end): a list of (tag, element start, contents start, end)."""
    found = []
    while start < end:
        tag, contents, after = _element(data, start)
        found.append((tag, start, contents, after))
        start = after
    return found


def signed_digest(der):
    """(hash name, digest) of the program a DER PKCS#7 Authenticode signature signs."""
    try:
        _, s, e = _element(der, 0)                          # ContentInfo
        _, s, e = _element(der, _children(der, s, e)[1][2])  # [0] -> SignedData
        content = _children(der, s, e)[2]                  # its contentInfo
        oid, explicit = _children(der, content[2], content[3])[:2]
        if der[oid[1]:oid[3]] != SPC_INDIRECT_DATA:
            raise NotAuthenticode("not an Authenticode signature")
        _, s, e = _element(der, explicit[2])                 # SpcIndirectDataContent
        info = _children(der, s, e)[1]                       # DigestInfo
        algorithm, digest = _children(der, info[2], info[3])
        oid = _children(der, algorithm[2], algorithm[3])[0]
        name = DIGESTS.get(der[oid[1]:oid[3]])
        if name is None:
            raise NotAuthenticode("an unknown digest algorithm")
        return name, der[digest[2]:digest[3]]
    except IndexError:
        raise NotAuthenticode("not a PKCS#7 signature") from None


def pem_to_der(text):
    """The DER of the one PKCS#7 block of a PEM file, as osslsigncode writes it."""
    lines = text.strip().splitlines()
    if not lines or lines[0] != "-----BEGIN PKCS7-----" or lines[-1] != "-----END PKCS7-----":
        raise NotAuthenticode("not a PEM PKCS7 file")
    return base64.b64decode("".join(lines[1:-1]), validate=True)


def _security_entry(data):
    """Offsets of the PE checksum and of the certificate table's directory entry."""
    if data[:2] != b"MZ":
        raise NotAuthenticode("not a Windows program")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotAuthenticode("not a Windows program")
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + {0x10B: 96, 0x20B: 112}[magic]
    return optional + 64, directories + 8 * SECURITY_ENTRY


def program_digest(data, name="sha256"):
    """The Authenticode digest of a PE file, signed or not."""
    checksum, entry = _security_entry(data)
    table, size = struct.unpack_from("<II", data, entry)
    end = table if size else len(data)
    h = hashlib.new(name)
    h.update(data[:checksum])
    h.update(data[checksum + 4:entry])
    h.update(data[entry + 8:end])
    h.update(b"\0" * (-end % 8))  # an unsigned file is hashed as padded for its signature
    return h.digest()


def attached_signature(data):
    """The DER of the signature a PE file carries, or None."""
    _, entry = _security_entry(data)
    table, size = struct.unpack_from("<II", data, entry)
    if not size:
        return None
    length, revision, kind = struct.unpack_from("<IHH", data, table)
    if (revision, kind) != (0x0200, 0x0002) or table + length > len(data):
        raise NotAuthenticode("a certificate table that is no Authenticode signature")
    der = data[table + 8:table + length]
    return der[:_element(der, 0)[2]]  # without the padding to 8 bytes


def _pe_checksum(data, checksum):
    """The PE header's checksum of data, its own field counted as zero."""
    padded = data + b"\0" * (len(data) % 2)
    words = struct.unpack_from(f"<{len(padded) // 2}H", padded)
    total = sum(words) - words[checksum // 2] - words[checksum // 2 + 1]
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


def attach(data, der):
    """The unsigned PE file data with the signature der attached, as signing tools attach it:
    a certificate table at the end (8-byte aligned), its directory entry, the checksum."""
    checksum, entry = _security_entry(data)
    if struct.unpack_from("<II", data, entry)[1]:
        raise NotAuthenticode("already signed")
    data = bytearray(data + b"\0" * (-len(data) % 8))
    table = len(data)
    certificate = der + b"\0" * (-len(der) % 8)
    data += struct.pack("<IHH", 8 + len(certificate), 0x0200, 0x0002) + certificate
    struct.pack_into("<II", data, entry, table, 8 + len(certificate))
    struct.pack_into("<I", data, checksum, _pe_checksum(bytes(data), checksum))
    return bytes(data)
