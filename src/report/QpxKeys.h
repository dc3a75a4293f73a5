// The RSA key pair handed to the analytics SDK at initialisation: the public
// key as base64 SubjectPublicKeyInfo DER, the private key as base64 PKCS#1 DER,
// each on one line. Generated for this project only.
#pragma once

inline constexpr char kQpxPublicKey[] =
    "MIIBIjANBgkqhkiG9w0BAQEFAAOCAQ8AMIIBCgKCAQEApMDFSmaKLYODGHA6D0LKYMeUk2K2UaWIWO3E5uvCyoRMR0j9GWl1"
    "5Rc476DSYV/jPb+vUYOv/D5TxOhR9q8ZeURKVT1H4sp81Cbr1sxDgNYhvSsdU3d3wamnb26IzffDuYb5tDdbFL4fqDNbkw/j"
    "XbzMEeD0Hsx720zeke5aKfCHI92t/NujcDdISWJ42FQ1Jc4U+UifhtpxKTq3r+D29Qwg6fraCmnlM4Y2WOnAZLNTrjDFS96i"
    "X3JBwsJ5ULMa2YBxWu+UeEF/lY2bb6yWCRY2yMXydI6Udqm1K21hbEb3Y46QBbJx8vKXegLbLKRQ0HC9qO2GFGAac0xQS+Vq"
    "/wIDAQAB";
inline constexpr char kQpxPrivateKey[] =
    "MIIEowIBAAKCAQEApMDFSmaKLYODGHA6D0LKYMeUk2K2UaWIWO3E5uvCyoRMR0j9GWl15Rc476DSYV/jPb+vUYOv/D5TxOhR"
    "9q8ZeURKVT1H4sp81Cbr1sxDgNYhvSsdU3d3wamnb26IzffDuYb5tDdbFL4fqDNbkw/jXbzMEeD0Hsx720zeke5aKfCHI92t"
    "/NujcDdISWJ42FQ1Jc4U+UifhtpxKTq3r+D29Qwg6fraCmnlM4Y2WOnAZLNTrjDFS96iX3JBwsJ5ULMa2YBxWu+UeEF/lY2b"
    "b6yWCRY2yMXydI6Udqm1K21hbEb3Y46QBbJx8vKXegLbLKRQ0HC9qO2GFGAac0xQS+Vq/wIDAQABAoIBABn8xEH/maUjPO8C"
    "aM4WcXjBkniLFgob671nR+tK3e923ddStoWnIm8P8i2uNvEgIGaRkVRwyrYlmK4THTalmQWNVZJLd8bYvMb0GrhHgRBV9n1x"
    "yw7q5ct4+M21aEPg5JEjrsiUALxtXu33p+azF2CmUqQxUSB4jcLiRatMJxG9O5p3+Z4Kj8K5Hl7UHe68KTafFuaNQvQpYy0D"
    "NIuxBplhUdYXMhu3ZEE9exeN+NKlGSDqWVwbJlvTbmyOd2ZqwBj9Ckf+rlFTlgmZgiwH8TiIMEBMBscKc+kxoLibS6GcBxHn"
    "qiSeD8OpszeQ3j1lEcmRoXO67QWT0exscQmzKSUCgYEA2I93j2uCxpJ8doCL3UMqQrhStCdXay/LVA9cZVUawcUrzSfO5Ht3"
    "020yum6rFStboKVoWupOIlzwlFG3b+fDcEnivVj6wkis26M4lIHWGQRoa5uhQKHVeZ7qGS3eedSJpJO+kqsNK46FjYlEMt2q"
    "Ssz2odG12eTYudYli5h3Xx0CgYEAwsHtC4k7f0/x/ec8l7kegdezVRc6e0qbSHpgpFOgxPuThyvT0YdUobah1GviQ6URn0wB"
    "gKuFxAAiZ0XCC5q7uRRMmyfojhWH876iviiQNrNxMEn5cSysYJM8weLjAqmQ2tsJhzJyvxy8A83/mz0msZBv1+2k/Oq5ssAv"
    "CmJFy8sCgYBzTph7feQo9PBebH2MN2n2Eoy+rb/nK5CY1oD8136is+hpmQuZLoCTy63aBHkFkYt9EvVoix9FPrU+U/BXHlE6"
    "payb4xfJgMbBP7wtnqAvu+AZg8ktT74Jvuqos3qk5dzQC3bKQ1eE3KMRxIfSiaJVp6KecLniJe6brIFbPbg5pQKBgHPLxdsU"
    "DzIVIHasZBR51q+wxkmTdAwWQdmIGanapz43rnGyF1D/O8yiv/mC45cAsEecc1BDq1bsFYh9q3Am4fKbJSkjQ1wnZRwBftW9"
    "XHGJo4Tols05mIwbPwawlfThSOU3UqT108/Zj9hbRNzSMQ1mKXmjLHPMQ/kJ124/G+ydAoGBAJN8ShB0WMJIhrRoR6M7uZGP"
    "kxQzk9zRAxfyZIr9c4SkSy/eSkX6c5N+vnWcNEejxeLOS1HqxKwy8p9Erpr1fRyDsu0pqMDgEYns17wD+J33idkStHj+oWD3"
    "WswJKWPbS7MzioqSArv0pU9DT3hCCjep2fpvhctFte+vCLs1iyMU";
